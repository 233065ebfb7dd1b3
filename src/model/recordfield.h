#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// How the driver key stores a value: REG_SZ text or a REG_DWORD number.
enum class EFieldKind { Text, DWord };

// One value of a record's registry key: its name (a string resource), how it is stored, the
// record's accessors for it and what a read takes when the value is missing or unreadable.
// A text field uses getText and setText, a DWORD field getNumber and setNumber; the other pair
// is null. shownAt is the field's place in reports and in the lists offered to a person, which
// need not be the order the key is written in.
template <typename Record> struct SRecordField {
    unsigned valueNameId;
    EFieldKind kind;
    std::string (Record::*getText)() const;
    int (Record::*setText)(std::string);
    int (Record::*getNumber)() const;
    int (Record::*setNumber)(int);
    const char* missingText;
    std::uint32_t missingNumber;
    int shownAt;

    std::string Text(const Record& record) const { return (record.*getText)(); }
    void SetText(Record& record, std::string text) const { (record.*setText)(std::move(text)); }
    int Number(const Record& record) const { return (record.*getNumber)(); }
    void SetNumber(Record& record, int number) const { (record.*setNumber)(number); }
};

template <typename Record>
SRecordField<Record> TextField(unsigned valueNameId, std::string (Record::*get)() const,
                               int (Record::*set)(std::string), const char* missing, int shownAt) {
    return {valueNameId, EFieldKind::Text, get, set, nullptr, nullptr, missing, 0, shownAt};
}

template <typename Record>
SRecordField<Record> DWordField(unsigned valueNameId, int (Record::*get)() const,
                                int (Record::*set)(int), std::uint32_t missing, int shownAt) {
    return {valueNameId, EFieldKind::DWord, nullptr, nullptr, get, set, "", missing, shownAt};
}

// The field named by valueNameId, or null.
template <typename Record>
const SRecordField<Record>* FindField(const std::vector<SRecordField<Record>>& fields,
                                      unsigned valueNameId) {
    for (const auto& field : fields) {
        if (field.valueNameId == valueNameId) {
            return &field;
        }
    }
    return nullptr;
}

// The fields in their shown order.
template <typename Record>
std::vector<const SRecordField<Record>*>
FieldsAsShown(const std::vector<SRecordField<Record>>& fields) {
    std::vector<const SRecordField<Record>*> shown(fields.size(), nullptr);
    for (const auto& field : fields) {
        shown.at(static_cast<std::size_t>(field.shownAt)) = &field;
    }
    return shown;
}
