#include "formsfixture.h"

#include "boardobj.h"
#include "dialogtemplates.h"
#include "headlesscheckbox.h"
#include "headlesscombobox.h"
#include "portobj.h"
#include "registry.h"

#include <cstring>

namespace {
// The form a control is on.
int TemplateOf(int controlId) {
    for (const SDialogTemplate* form :
         {&CDialogTemplates::SystemForm(), &CDialogTemplates::BoardForm(),
          &CDialogTemplates::PortForm()}) {
        if (form->Find(controlId) != nullptr) {
            return form->id;
        }
    }
    ADD_FAILURE() << "no form has control " << controlId;
    return kBoardFormId;
}

std::string Describe(const SHiveWrite& write) {
    std::string key = write.keyPath.substr(std::min(write.keyPath.size(), kDriverKey.size() + 1));
    std::string data;
    if (write.type == REG_DWORD && write.data.size() == 4) {
        std::uint32_t number = 0;
        std::memcpy(&number, write.data.data(), 4);
        data = "#" + std::to_string(number);
    } else if (!write.data.empty()) {
        data.assign(write.data.begin(), write.data.end() - 1);
    }
    return key + ":" + write.valueName + "=" + data;
}

} // namespace

std::vector<SPortKey> SomePorts(int count) {
    std::vector<SPortKey> ports;
    for (int i = 0; i < count; ++i) {
        ports.push_back({"COM" + std::to_string(40 + i), "11", "0x1" + std::to_string(10 + i)});
    }
    return ports;
}

CFormsFixture::CFormsFixture() = default;

CFormsFixture::~CFormsFixture() {
    m_hive.Hive().SetWriteObserver(nullptr);
    m_hive.Hive().ClearFaults();
}

void CFormsFixture::PutBoard(const SBoardKey& board) {
    PutBoardKey(m_probe, board);
    for (std::size_t i = 0; i < board.ports.size(); ++i) {
        const std::string name = "Port00" + std::to_string(i);
        const SPortKey& port = board.ports[i];
        PutPortKey(m_probe, board.name,
                   {name, port.comPort, port.irq, port.address, std::to_string(i + 1),
                    "Serial10" + std::to_string(i)});
    }
}

void CFormsFixture::Start() {
    m_pSession = std::make_unique<CHeadlessSession>(
        SProcessReferences{.hive = &m_hive.Hive(), .messageBox = &m_hive.Messages()});
    ASSERT_TRUE(m_pSession->Start());
    m_hive.Hive().SetWriteObserver(
        [this](const SHiveWrite& write) { m_writes.push_back(Describe(write)); });
}

bool CFormsFixture::StartReadOnly() {
    m_pReadOnly = std::make_unique<CReadOnlyHive>(m_hive);
    if (m_pReadOnly->Hive() == nullptr) {
        return false;
    }
    m_pSession = std::make_unique<CHeadlessSession>(
        SProcessReferences{.hive = m_pReadOnly->Hive(), .messageBox = &m_hive.Messages()});
    return m_pSession->Start();
}

void CFormsFixture::Select(const std::string& path) {
    ASSERT_TRUE(m_pSession->Select(path)) << path;
}

CBoardObj& CFormsFixture::Board(int index) {
    return *Doc().m_boardList.at(static_cast<std::size_t>(index));
}

CPortObj& CFormsFixture::Port(int index, int board) {
    return *Board(board).m_PortList.at(static_cast<std::size_t>(index));
}

CHeadlessComboBox& CFormsFixture::Combo(int id) {
    CHeadlessComboBox* combo = m_pSession->Dialog(TemplateOf(id))->HeadlessComboBox(id);
    EXPECT_NE(combo, nullptr) << id;
    return *combo;
}

CHeadlessCheckBox& CFormsFixture::Check(int id) {
    CHeadlessCheckBox* check = m_pSession->Dialog(TemplateOf(id))->HeadlessCheckBox(id);
    EXPECT_NE(check, nullptr) << id;
    return *check;
}

std::string CFormsFixture::EditText(int id) {
    return m_pSession->Dialog(TemplateOf(id))->Edit(id)->GetWindowText();
}

std::string CFormsFixture::Shown(int id) {
    return Combo(id).GetWindowText();
}

bool CFormsFixture::Enabled(int id) {
    CHeadlessDialog* dialog = m_pSession->Dialog(TemplateOf(id));
    if (CHeadlessCheckBox* check = dialog->HeadlessCheckBox(id)) {
        return check->IsWindowEnabled();
    }
    return Combo(id).IsWindowEnabled();
}

bool CFormsFixture::FormVisible(int templateId) {
    return m_pSession->Dialog(templateId)->IsWindowVisible();
}

void CFormsFixture::Pick(int id, const std::string& text) {
    ASSERT_EQ(Combo(id).Pick(text), EPickResult::Done) << id << " " << text;
}

void CFormsFixture::Click(int id) {
    ASSERT_EQ(Check(id).Click(), EPickResult::Done) << id;
}

std::vector<std::string> CFormsFixture::TakeWrites() {
    std::vector<std::string> writes;
    writes.swap(m_writes);
    return writes;
}

std::vector<std::string> CFormsFixture::MessageTexts() {
    return m_hive.Messages().Texts();
}
