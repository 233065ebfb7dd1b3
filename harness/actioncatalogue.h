#pragma once

#include "harnessaction.h"

#include <string>
#include <vector>

// Every user action of the utility that writes, each on a starting state that makes it do real
// work: Add Board beside a board of each model group, Add Port on a board of each group (2, 4
// and 8 ports), every entry of every board-form and port-form setting, Delete of a port, a
// block and a board, New, Save and the close sequence with a change pending, and a .reg
// import; Save, close and import on both platform families.
class CActionCatalogue {
public:
    // folder holds the starting states the catalogue builds to enumerate the form picks.
    // picksPerSetting bounds the entries tried per setting (0: all of them).
    CActionCatalogue(std::string folder, std::size_t picksPerSetting);

    const std::vector<SHarnessAction>& Actions() const { return m_actions; }

    // The first model of each group of models that the utility treats alike.
    static std::vector<std::string> ModelGroups();

private:
    void AddCommands(const std::string& model);
    void AddPicks(const SHarnessAction& base, const std::string& item);
    void AddFamilyActions(EPlatformFamily family);
    std::string ImportFile();

    std::string m_folder;
    std::size_t m_picksPerSetting;
    std::vector<SHarnessAction> m_actions;
};
