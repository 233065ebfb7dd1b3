#include "qtcombobox.h"

#include "formcontrols.h"
#include "latin1text.h"

#include <QComboBox>
#include <QLineEdit>
#include <strings.h>

CQtComboBox::CQtComboBox(QComboBox& combo, bool sorted) : m_combo(combo), m_bSorted(sorted) {
    if (m_combo.isEditable()) {
        m_combo.setInsertPolicy(QComboBox::NoInsert);
        m_combo.setCompleter(nullptr);
        // With duplicates allowed, Return in the edit field does not look the typed text up
        // and activate a matching entry: typed text never counts as a choice.
        m_combo.setDuplicatesEnabled(true);
        // Nor does leaving the field: the box would otherwise select the entry that matches the
        // typed text and report it as chosen.
        QObject::disconnect(m_combo.lineEdit(), &QLineEdit::editingFinished, &m_combo, nullptr);
        // Typed text that was never applied does not stay on show once the person has left the
        // field (or pressed Return): the field shows what the record holds again.
        QObject::connect(m_combo.lineEdit(), &QLineEdit::editingFinished, &m_combo,
                         [this] { RestoreShownText(); });
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

void CQtComboBox::RestoreShownText() {
    const QString shown = GetCurSel() >= 0 ? m_combo.itemText(GetCurSel()) : m_shownText;
    if (m_combo.currentText() != shown) {
        m_combo.setEditText(shown);
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
    SetCurSel(FindEntryIgnoringCase(*this, text));
    if (GetCurSel() < 0 && m_combo.isEditable()) {
        m_shownText = CLatin1Text::ToQt(text);
        m_combo.setEditText(m_shownText);
    }
}

void CQtComboBox::EnableWindow(bool enabled) {
    m_combo.setEnabled(enabled);
}

bool CQtComboBox::IsWindowEnabled() const {
    // The box's own state, whatever its page's.
    return !m_combo.testAttribute(Qt::WA_ForceDisabled);
}

void CQtComboBox::SetActivatedHandler(std::function<void()> handler) {
    m_onActivated = std::move(handler);
}
