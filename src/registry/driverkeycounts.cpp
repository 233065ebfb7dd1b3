#include "driverkeycounts.h"

#include "keypaths.h"
#include "registry.h"
#include "slotscan.h"
#include "stringtable.h"

bool SDriverKeyCounts::Count() {
    CRegistry driverKey;
    if (driverKey.OpenKey(DriverKeyPath(), "", KEY_ALL_ACCESS, 1) != ERROR_SUCCESS) {
        return false;
    }
    int boardCount = 0;
    int portCount = 0;
    ForEachSubKeyName(driverKey, [&](const std::string& boardKeyName) {
        if (!kBoardKeys.Counts(boardKeyName)) {
            return;
        }
        ++boardCount;
        CRegistry boardKey;
        if (boardKey.OpenKey(BoardKeyPath(boardKeyName), "", KEY_ALL_ACCESS, 1) != ERROR_SUCCESS) {
            return;
        }
        ForEachSubKeyName(boardKey, [&](const std::string& portKeyName) {
            if (kPortKeys.Counts(portKeyName)) {
                ++portCount;
            }
        });
    });
    boards = boardCount;
    ports = portCount;
    return true;
}
