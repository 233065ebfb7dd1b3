#pragma once

#include <functional>
#include <string>
#include <vector>

class CRegistry;
struct SKeyNaming;

// The walk of the driver key that the load, the registration and the ownership of instance keys
// share: the board keys (sub-keys whose names begin with "Bo") and each board's port keys ("Po"),
// in enumeration order.
//
// A sub-key whose name no registry path can carry (empty, holding '\' or a zero character,
// longer than 255 characters, or listed but not found by its own name, as a name stored as bytes
// is) is left out and noted, so that one hand-edited key neither stops the walk nor sends a path
// to another key.
class CDriverKeyWalk {
public:
    using Visit = std::function<void(const std::string&)>;

    // The board key names of the driver key open in driverKey.
    void ForEachBoardKey(CRegistry& driverKey, const Visit& visit);
    // The port key names of the board key open in boardKey.
    void ForEachPortKey(CRegistry& boardKey, const std::string& boardKeyName, const Visit& visit);

    // One message naming every left-out sub-key; nothing when there is none.
    void ReportLeftOut() const;

private:
    void Walk(CRegistry& key, const std::string& keyPath, const std::string& shownPath,
              const SKeyNaming& naming, const Visit& visit);
    void NoteHidden(const std::string& keyPath, const std::string& shownPath,
                    const SKeyNaming& naming);
    void Note(const std::string& name, const std::string& shownPath);

    // Each left-out sub-key so far, printable, with the key it is under.
    std::vector<std::string> m_leftOut;
};
