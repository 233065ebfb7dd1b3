#include "qtdialog.h"

#include "boardtypedelegate.h"
#include "comboaccessible.h"
#include "deferredcheckbox.h"
#include "deferredcombobox.h"
#include "deferrededit.h"
#include "dialogtemplates.h"
#include "dialogunits.h"
#include "latin1text.h"
#include "listpopupstyle.h"
#include "qtcheckbox.h"
#include "qtcombobox.h"
#include "qtedit.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace {
// Room left between a grown label and the control after it.
constexpr int kLabelGap = 4;
// Every list opens with the same number of rows, whatever height its template gives.
constexpr int kListRows = 10;

template <typename Adapter>
Adapter* Lookup(const std::map<int, std::unique_ptr<Adapter>>& adapters, int id) {
    auto found = adapters.find(id);
    return found == adapters.end() ? nullptr : found->second.get();
}

bool SharesRow(const QRect& a, const QRect& b) {
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

void CentreOn(QWidget& widget, const QWidget& reference) {
    widget.move(widget.x(), reference.geometry().center().y() - widget.height() / 2);
}

// What a reader says for the control of a label: its text without the colon.
QString ControlName(const QLabel& label) {
    QString name = label.text().trimmed().remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    return name;
}

int Area(const QRect& rect) {
    return rect.width() * rect.height();
}
} // namespace

CQtDialog::CQtDialog(const SDialogTemplate& dialogTemplate, QWidget* parent)
    : QWidget(parent), m_template(dialogTemplate), m_standIn(dialogTemplate) {
    setObjectName(QStringLiteral("form%1").arg(m_template.id));
    setVisible(false);
    resize(CDialogUnits(font()).Size(m_template.width, m_template.height));
    const auto needWindow = [this] { Realize(); };
    for (const SControlTemplate& spec : m_template.controls) {
        if (CHeadlessComboBox* combo = m_standIn.HeadlessComboBox(spec.id)) {
            m_combos[spec.id] = std::make_unique<CDeferredComboBox>(*combo, needWindow);
        } else if (CHeadlessCheckBox* box = m_standIn.HeadlessCheckBox(spec.id)) {
            m_checks[spec.id] = std::make_unique<CDeferredCheckBox>(*box, needWindow);
        } else if (CHeadlessEdit* edit = m_standIn.HeadlessEdit(spec.id)) {
            m_edits[spec.id] = std::make_unique<CDeferredEdit>(*edit);
        }
    }
}

void CQtDialog::ShowWindow(bool visible) {
    if (visible) {
        Realize();
    }
    setVisible(visible);
}

void CQtDialog::Realize() {
    if (m_bRealized) {
        return;
    }
    m_bRealized = true;
    m_pListStyle = new CListPopupStyle;
    m_pListStyle->setParent(this);
    // Before the first combo box exists: Qt looks its accessible interface up, and keeps it,
    // while the box is being made.
    CComboAccessible::Install();
    CDialogUnits units(font());
    for (const SControlTemplate& spec : m_template.controls) {
        AddControl(spec, units);
    }
    MakeRoomForLabels();
    for (const SLabel& entry : m_labels) {
        FitLabel(entry);
    }
    AlignCheckBoxes();
    NameControls();
    NestInGroupBoxes();
    TakePlaceInTabOrder();
}

// Widgets made after the window are last in its focus chain; the page's controls belong where
// the page is, after the controls of the panes before it.
void CQtDialog::TakePlaceInTabOrder() {
    QWidget* before = previousInFocusChain();
    while (before != this && (before->focusPolicy() == Qt::NoFocus || isAncestorOf(before))) {
        before = before->previousInFocusChain();
    }
    if (before == this) {
        return;
    }
    for (QWidget* control : m_controls) {
        QWidget::setTabOrder(before, control);
        before = control;
    }
}

CQtDialog::~CQtDialog() = default;

void CQtDialog::EnableWindow(bool enabled) {
    setEnabled(enabled);
    setPalette(enabled ? QPalette() : ReadablePalette());
}

// A page disabled as a whole is there to be read: its texts keep their normal contrast.
QPalette CQtDialog::ReadablePalette() const {
    QPalette readable = palette();
    for (QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::Base}) {
        readable.setColor(QPalette::Disabled, role, readable.color(QPalette::Active, role));
    }
    return readable;
}

void CQtDialog::AddControl(const SControlTemplate& spec, const CDialogUnits& units) {
    const QRect rect = units.Rect(spec.x, spec.y, spec.width, spec.height);
    switch (spec.kind) {
    case EControlKind::GroupBox: {
        auto* group = new QGroupBox(CLatin1Text::ToQt(spec.text), this);
        // Unnamed, a group inside another is read by the title of the group around it.
        group->setAccessibleName(group->title());
        group->setGeometry(rect);
        m_groups.push_back(group);
        break;
    }
    case EControlKind::Static:
        m_labels.push_back({AddLabel(CLatin1Text::ToQt(spec.text), rect), nullptr});
        break;
    case EControlKind::Edit: {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::number(spec.id));
        edit->setGeometry(rect);
        // Read-only fields take the focus from a click, to copy their text, but are no Tab stop.
        edit->setFocusPolicy(Qt::ClickFocus);
        m_edits.at(spec.id)->Realize(std::make_unique<CQtEdit>(*edit));
        m_controls.push_back(edit);
        break;
    }
    case EControlKind::ComboBox:
        AddComboBox(spec, units);
        break;
    case EControlKind::CheckBox:
        AddCheckBox(spec, units);
        break;
    }
}

void CQtDialog::AddComboBox(const SControlTemplate& spec, const CDialogUnits& units) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::number(spec.id));
    // Styled before it is made editable, so that its line edit is polished once.
    combo->setStyle(m_pListStyle);
    combo->setEditable((spec.style & CS_DROPDOWN) != 0);
    combo->setMaxVisibleItems(kListRows);
    combo->setGeometry(units.X(spec.x), units.Y(spec.y), units.X(spec.width),
                       combo->sizeHint().height());
    if (spec.id == IDC_BOARD_TYPE) {
        combo->setItemDelegate(new CBoardTypeDelegate(combo));
        combo->view()->setMinimumWidth(
            combo->fontMetrics().horizontalAdvance(QStringLiteral("RX-204E - 8 ports  ")));
    }
    m_combos.at(spec.id)->Realize(
        std::make_unique<CQtComboBox>(*combo, (spec.style & CS_SORT) != 0));
    m_controls.push_back(combo);
}

void CQtDialog::AddCheckBox(const SControlTemplate& spec, const CDialogUnits& units) {
    const QRect rect = units.Rect(spec.x, spec.y, spec.width, spec.height);
    const bool textLeft = (spec.style & CS_TEXTLEFT) != 0;
    auto* box = new QCheckBox(textLeft ? QString() : CLatin1Text::ToQt(spec.text), this);
    box->setObjectName(QString::number(spec.id));
    QLabel* label = nullptr;
    if (textLeft) {
        // The box sits at the right end of the control, its text from the left end.
        const QSize boxSize = box->sizeHint();
        box->setGeometry(rect.right() + 1 - boxSize.width(),
                         rect.center().y() - boxSize.height() / 2, boxSize.width(),
                         boxSize.height());
        label = AddLabel(CLatin1Text::ToQt(spec.text), rect);
        m_labels.push_back({label, box});
    } else {
        box->setGeometry(rect);
    }
    m_checks.at(spec.id)->Realize(std::make_unique<CQtCheckBox>(*box, label));
    m_controls.push_back(box);
}

QLabel* CQtDialog::AddLabel(const QString& text, const QRect& rect) {
    // Trailing blanks padded the text for the original font; they are neither shown nor read.
    auto* label = new QLabel(text.trimmed(), this);
    label->setGeometry(rect.x(), rect.y(), rect.width(), label->fontMetrics().height());
    return label;
}

QWidget* CQtDialog::NextOnRow(const QWidget* label) const {
    QWidget* next = nullptr;
    for (QWidget* control : m_controls) {
        if (control->x() > label->x() && SharesRow(control->geometry(), label->geometry()) &&
            (next == nullptr || control->x() < next->x())) {
            next = control;
        }
    }
    return next;
}

int CQtDialog::NeededWidth(const QLabel& label) {
    return label.fontMetrics().horizontalAdvance(label.text()) + 1;
}

// Alt and a letter of the label reaches its control: the first letter of a word, else any
// letter, that no other label of the page and no menu title (File, Edit, View, Help) uses.
void CQtDialog::AddMnemonic(QLabel& label, QString& taken) {
    const QString text = label.text();
    int chosen = -1;
    for (int pass = 0; pass < 2 && chosen < 0; ++pass) {
        for (int i = 0; i < text.size() && chosen < 0; ++i) {
            const bool wordStart = i == 0 || text[i - 1] == QLatin1Char(' ');
            if (text[i].isLetter() && (pass == 1 || wordStart) &&
                !taken.contains(text[i].toLower())) {
                chosen = i;
            }
        }
    }
    if (chosen >= 0) {
        taken += text[chosen].toLower();
        label.setText(text.left(chosen) + QLatin1Char('&') + text.mid(chosen));
    }
}

// Each label names the control it stands before, for a screen reader too.
void CQtDialog::NameControls() {
    QString taken = QStringLiteral("fevh");
    for (const SLabel& entry : m_labels) {
        QWidget* control = entry.box != nullptr ? entry.box : NextOnRow(entry.label);
        if (control != nullptr) {
            if (control->focusPolicy() & Qt::TabFocus) {
                AddMnemonic(*entry.label, taken);
            }
            entry.label->setBuddy(control);
            control->setAccessibleName(ControlName(*entry.label));
            if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit()) {
                combo->lineEdit()->setAccessibleName(ControlName(*entry.label));
            }
        }
    }
}

// Every widget moves into the smallest group box around it, so that the groups, titled or
// not, give their controls context. Positions are kept.
void CQtDialog::NestInGroupBoxes() {
    std::vector<std::pair<QWidget*, QWidget*>> moves;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QWidget* around = nullptr;
        for (QGroupBox* group : m_groups) {
            if (group != child && group->geometry().contains(child->geometry()) &&
                (around == nullptr || Area(group->geometry()) < Area(around->geometry()))) {
                around = group;
            }
        }
        if (around != nullptr) {
            moves.emplace_back(child, around);
        }
    }
    std::map<QWidget*, QPoint> pagePositions;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        pagePositions[child] = child->pos();
    }
    for (const auto& [child, group] : moves) {
        child->setParent(group);
        child->move(pagePositions[child] - pagePositions[group]);
    }
}

// A label whose text does not fit before the control after it moves that control, and every
// control in the same column, to the right.
void CQtDialog::MakeRoomForLabels() {
    std::map<int, int> shiftOfColumn;
    for (const SLabel& entry : m_labels) {
        QWidget* next = entry.box == nullptr ? NextOnRow(entry.label) : nullptr;
        if (next == nullptr) {
            continue;
        }
        const int overflow = entry.label->x() + NeededWidth(*entry.label) + kLabelGap - next->x();
        int& shift = shiftOfColumn[next->x()];
        shift = std::max(shift, overflow);
    }
    for (QWidget* control : m_controls) {
        auto found = shiftOfColumn.find(control->x());
        if (found != shiftOfColumn.end()) {
            control->move(control->x() + found->second, control->y());
        }
    }
}

// The boxes of the check boxes with their text on the left line up in one column.
void CQtDialog::AlignCheckBoxes() {
    int column = 0;
    for (const SLabel& entry : m_labels) {
        if (entry.box != nullptr) {
            column = std::max(column, entry.box->x());
        }
    }
    for (const SLabel& entry : m_labels) {
        if (entry.box != nullptr) {
            entry.box->move(column, entry.box->y());
            entry.label->resize(column - kLabelGap - entry.label->x(), entry.label->height());
        }
    }
}

void CQtDialog::FitLabel(const SLabel& entry) {
    QLabel& label = *entry.label;
    const int needed = NeededWidth(label);
    if (entry.box != nullptr) {
        const int boxLeft = std::max(entry.box->x(), label.x() + needed + kLabelGap);
        entry.box->move(boxLeft, entry.box->y());
        label.resize(boxLeft - kLabelGap - label.x(), label.height());
        CentreOn(label, *entry.box);
        return;
    }
    QWidget* next = NextOnRow(&label);
    const int limit = next != nullptr ? next->x() - kLabelGap : width();
    label.resize(std::max(label.width(), std::min(needed, limit - label.x())), label.height());
    if (next != nullptr) {
        CentreOn(label, *next);
    }
}

IComboBox* CQtDialog::ComboBox(int id) {
    return Lookup(m_combos, id);
}

ICheckBox* CQtDialog::CheckBox(int id) {
    return Lookup(m_checks, id);
}

IEdit* CQtDialog::Edit(int id) {
    return Lookup(m_edits, id);
}
