#include "boardform.h"
#include "dialogtemplates.h"
#include "portform.h"
#include "recordfields.h"
#include "stringtable.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

template <typename Form> EControlKind KindOf(const SFormField<Form>& field) {
    if (field.combo != nullptr) {
        return EControlKind::ComboBox;
    }
    return field.check != nullptr ? EControlKind::CheckBox : EControlKind::Edit;
}

// Every control a form binds is in its dialog with the kind the form takes it as, a check box
// holds a DWORD value and a text control a text value, and no value is shown twice.
template <typename Form, typename Record>
void ExpectFieldsMatch(const std::vector<SFormField<Form>>& fields,
                       const std::vector<SRecordField<Record>>& values,
                       const SDialogTemplate& dialog) {
    std::set<unsigned> seen;
    for (const auto& field : fields) {
        const std::string name = LoadString(field.valueNameId);
        EXPECT_TRUE(seen.insert(field.valueNameId).second) << name;
        const SControlTemplate* control = dialog.Find(field.controlId);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->kind, KindOf(field)) << name;
        const SRecordField<Record>* value = FindField(values, field.valueNameId);
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(value->kind == EFieldKind::DWord, field.check != nullptr) << name;
        EXPECT_EQ(field.text == nullptr, field.state != nullptr) << name;
    }
}

TEST(FormFields, BoardFormShowsEveryBoardValueOnceWithAControlOfItsKind) {
    ExpectFieldsMatch(CBoardForm::Fields(), BoardFields(), CDialogTemplates::BoardForm());
    EXPECT_EQ(CBoardForm::Fields().size(), BoardFields().size());
}

TEST(FormFields, PortFormShowsEveryPortValueButItsInstance) {
    ExpectFieldsMatch(CPortForm::Fields(), PortFields(), CDialogTemplates::PortForm());
    EXPECT_EQ(FindFormField(CPortForm::Fields(), IDS_PORT_SERIAL_PORT), nullptr);
    EXPECT_EQ(CPortForm::Fields().size() + 1, PortFields().size());
}

TEST(FormFields, ExchangeOrderOfTheBoardForm) {
    std::vector<std::string> names;
    for (const auto& field : CBoardForm::Fields()) {
        names.push_back(LoadString(field.valueNameId));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"BoardBaseAddress", "BoardBaseCOMPort", "BoardName",
                                               "BoardShareIRQ", "BoardShareIRQEnabled", "BoardType",
                                               "BoardVectorAddress", "BoardStandardModeEnabled"}));
}

} // namespace
