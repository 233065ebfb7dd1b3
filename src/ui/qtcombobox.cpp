#include "qtcombobox.h"

#include "formcontrols.h"
#include "latin1text.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPalette>
#include <QStatusTipEvent>
#include <QStringList>
#include <strings.h>

CQtComboBox::CQtComboBox(QComboBox& combo, bool sorted) : m_combo(combo), m_bSorted(sorted) {
    if (m_combo.isEditable()) {
        m_combo.setInsertPolicy(QComboBox::NoInsert);
        m_combo.setCompleter(nullptr);
        // With duplicates allowed, Return in the edit field does not look the typed text up
        // and activate a matching entry: typed text never counts as a choice.
        m_combo.setDuplicatesEnabled(true);
        // Nor does leaving the field on its own: the box would select the entry that matches
        // the typed text by its own rules (case, prefixes) and report it as chosen.
        QObject::disconnect(m_combo.lineEdit(), &QLineEdit::editingFinished, &m_combo, nullptr);
        // Typed text that names an entry, case aside, counts as its choice once the person
        // leaves the field or presses Return; any other text stays, marked, and is explained.
        QObject::connect(m_combo.lineEdit(), &QLineEdit::editingFinished, &m_combo,
                         [this] { ApplyTypedText(); });
    }
    QObject::connect(&m_combo, &QComboBox::activated, &m_combo, [this](int) {
        if (m_onActivated) {
            m_onActivated();
        }
    });
}

void CQtComboBox::ResetContent() {
    m_combo.clear();
    m_combo.setEditText(QString());
    m_shownText.clear();
}

void CQtComboBox::ApplyTypedText() {
    const QString typed = m_combo.currentText();
    const QString shown = GetCurSel() >= 0 ? m_combo.itemText(GetCurSel()) : m_shownText;
    if (typed == shown) {
        MarkInvalid(QString());
        return;
    }
    const int index = FindEntryIgnoringCase(*this, CLatin1Text::FromQt(typed));
    if (index < 0) {
        MarkInvalid(typed);
        return;
    }
    MarkInvalid(QString());
    m_combo.setCurrentIndex(index);
    if (m_onActivated) {
        m_onActivated();
    }
}

QString CQtComboBox::AllowedText(const QString& typed) const {
    QStringList entries;
    for (int i = 0; i < m_combo.count(); ++i) {
        if (!m_combo.itemText(i).isEmpty()) {
            entries << m_combo.itemText(i);
        }
    }
    const QString field = m_combo.accessibleName().isEmpty()
                              ? QStringLiteral("this field")
                              : m_combo.accessibleName().remove(QLatin1Char(':'));
    if (entries.isEmpty()) {
        return QStringLiteral("\"%1\" was not taken: %2 offers no entries now.").arg(typed, field);
    }
    const QString allowed = entries.size() <= 2
                                ? entries.join(QStringLiteral(" or "))
                                : QStringLiteral("%1 to %2").arg(entries.first(), entries.last());
    return QStringLiteral("\"%1\" was not taken: %2 takes one of its entries (%3).")
        .arg(typed, field, allowed);
}

void CQtComboBox::MarkInvalid(const QString& typed) {
    QLineEdit* edit = m_combo.lineEdit();
    const bool invalid = !typed.isEmpty();
    if (!invalid && m_combo.property(kInvalidProperty).toString().isEmpty()) {
        return;
    }
    m_combo.setProperty(kInvalidProperty, typed);
    QPalette palette = m_combo.palette();
    if (invalid) {
        palette.setColor(QPalette::Text, QColor(0xd0, 0x20, 0x20));
    }
    edit->setPalette(palette);
    const QString why = invalid ? AllowedText(typed) : QString();
    edit->setToolTip(why);
    m_combo.setAccessibleDescription(why);
    if (invalid) {
        QStatusTipEvent tip(why);
        QCoreApplication::sendEvent(&m_combo, &tip);
    }
}

int CQtComboBox::SortedPosition(const std::string& text) const {
    int position = 0;
    while (position < GetCount() && strcasecmp(GetLBText(position).c_str(), text.c_str()) <= 0) {
        ++position;
    }
    return position;
}

int CQtComboBox::AddString(const std::string& text) {
    const int position = m_bSorted ? SortedPosition(text) : GetCount();
    m_combo.insertItem(position, CLatin1Text::ToQt(text));
    return position;
}

int CQtComboBox::GetCount() const {
    return m_combo.count();
}

std::string CQtComboBox::GetLBText(int index) const {
    if (index < 0 || index >= GetCount()) {
        return {};
    }
    return CLatin1Text::FromQt(m_combo.itemText(index));
}

int CQtComboBox::GetCurSel() const {
    return m_combo.currentIndex();
}

void CQtComboBox::SetCurSel(int index) {
    m_combo.setCurrentIndex(index >= 0 && index < GetCount() ? index : -1);
    m_shownText.clear();
}

std::string CQtComboBox::GetWindowText() const {
    return CLatin1Text::FromQt(m_combo.currentText());
}

void CQtComboBox::ShowValue(const std::string& text) {
    MarkInvalid(QString());
    SetCurSel(FindEntryIgnoringCase(*this, text));
    if (GetCurSel() < 0 && m_combo.isEditable()) {
        m_shownText = CLatin1Text::ToQt(text);
        m_combo.setEditText(m_shownText);
    }
}

void CQtComboBox::EnableWindow(bool enabled) {
    m_combo.setEnabled(enabled);
    ShowDisabledReason();
}

void CQtComboBox::SetDisabledReason(const std::string& reason) {
    m_disabledReason = CLatin1Text::ToQt(reason);
    ShowDisabledReason();
}

// Qt shows a disabled widget's tooltip; an enabled box gives the description back to the
// explanation of its typed text, if any.
void CQtComboBox::ShowDisabledReason() {
    const bool disabled = !IsWindowEnabled();
    const QString typed = m_combo.property(kInvalidProperty).toString();
    m_combo.setToolTip(disabled ? m_disabledReason : QString());
    m_combo.setAccessibleDescription(disabled          ? m_disabledReason
                                     : typed.isEmpty() ? QString()
                                                       : AllowedText(typed));
}

bool CQtComboBox::IsWindowEnabled() const {
    // The box's own state, whatever its page's.
    return !m_combo.testAttribute(Qt::WA_ForceDisabled);
}

void CQtComboBox::SetActivatedHandler(std::function<void()> handler) {
    m_onActivated = std::move(handler);
}

EPickResult CQtComboBox::Pick(const std::string& text) {
    if (!m_combo.isEnabled()) {
        return EPickResult::Disabled;
    }
    const int index =
        m_combo.findText(CLatin1Text::ToQt(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        return EPickResult::NotOffered;
    }
    m_combo.setCurrentIndex(index);
    emit m_combo.activated(index);
    return EPickResult::Done;
}
