#include "qtmessagebox.h"

#include "latin1text.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QMessageBox::Icon ToQt(EMsgIcon icon) {
    switch (icon) {
    case EMsgIcon::Information:
        return QMessageBox::Information;
    case EMsgIcon::Question:
        return QMessageBox::Question;
    case EMsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

EMsgResult CQtMessageBox::Show(const std::string& text, EMsgButtons buttons, EMsgIcon icon) {
    const bool question = buttons == EMsgButtons::YesNo;
    QMessageBox box(ToQt(icon), QString::fromLatin1(kMessageBoxCaption), CLatin1Text::ToQt(text),
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    const int answer = box.exec();
    if (!question) {
        return EMsgResult::Ok;
    }
    return answer == QMessageBox::Yes ? EMsgResult::Yes : EMsgResult::No;
}
