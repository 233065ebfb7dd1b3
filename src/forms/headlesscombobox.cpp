#include "headlesscombobox.h"

#include "formcontrols.h"

#include <algorithm>
#include <strings.h>

CHeadlessComboBox::CHeadlessComboBox(bool editable, bool sorted)
    : m_bEditable(editable), m_bSorted(sorted) {}

void CHeadlessComboBox::ResetContent() {
    m_entries.clear();
    m_selected = -1;
    m_editText.clear();
}

int CHeadlessComboBox::AddString(const std::string& text) {
    auto position = m_entries.end();
    if (m_bSorted) {
        position = std::find_if(m_entries.begin(), m_entries.end(), [&text](const std::string& e) {
            return strcasecmp(e.c_str(), text.c_str()) > 0;
        });
    }
    auto index = static_cast<int>(position - m_entries.begin());
    m_entries.insert(position, text);
    if (m_selected >= index) {
        ++m_selected;
    }
    return index;
}

std::string CHeadlessComboBox::GetLBText(int index) const {
    if (index < 0 || index >= GetCount()) {
        return {};
    }
    return m_entries[static_cast<std::size_t>(index)];
}

void CHeadlessComboBox::SetCurSel(int index) {
    m_selected = index >= 0 && index < GetCount() ? index : -1;
    m_editText = GetLBText(m_selected);
}

std::string CHeadlessComboBox::GetWindowText() const {
    return m_selected >= 0 ? GetLBText(m_selected) : m_editText;
}

int CHeadlessComboBox::IndexOf(const std::string& text) const {
    auto found = std::find(m_entries.begin(), m_entries.end(), text);
    return found == m_entries.end() ? -1 : static_cast<int>(found - m_entries.begin());
}

void CHeadlessComboBox::ShowValue(const std::string& text) {
    SetCurSel(FindEntryIgnoringCase(*this, text));
    if (m_selected < 0 && m_bEditable) {
        m_editText = text;
    }
}

void CHeadlessComboBox::SetActivatedHandler(std::function<void()> handler) {
    m_onActivated = std::move(handler);
}

EPickResult CHeadlessComboBox::Pick(const std::string& text) {
    if (!m_bEnabled) {
        return EPickResult::Disabled;
    }
    int index = IndexOf(text);
    if (index < 0) {
        return EPickResult::NotOffered;
    }
    SetCurSel(index);
    if (m_onActivated) {
        m_onActivated();
    }
    return EPickResult::Done;
}

EPickResult CHeadlessComboBox::Type(const std::string& text) {
    if (!m_bEnabled) {
        return EPickResult::Disabled;
    }
    if (!m_bEditable) {
        return EPickResult::NotOffered;
    }
    m_selected = -1;
    m_editText = text;
    return EPickResult::Done;
}
