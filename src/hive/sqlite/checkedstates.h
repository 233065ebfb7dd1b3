#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The states of registry files that passed the content check at open, kept for the user, so
// that opening a file nobody has changed since does not read all of it again.
//
// A state is what any change of the file's content changes: the identity, size, modification
// and change time and first bytes of the file and of its write-ahead log. Every write through
// the file system sets the change time, which no program can set back, and SQLite's own writes
// change a header or the log's size too. The clock of file times is coarse, though: a write in
// the same tick as the check could leave every part of the state as it was. So only a state
// that had been at rest well beyond that tick before the check began is kept.
class CCheckedStates {
public:
    struct SState {
        std::string text;
        // The newest change time of the file and its log.
        std::int64_t changedNs = 0;
        bool operator==(const SState&) const = default;
    };
    // How long a state must have been at rest: more than a tick of the coarsest clock of file
    // times in use (two seconds).
    static constexpr std::int64_t kRestNs = 3'000'000'000;
    // How many states the record keeps, the newest last.
    static constexpr std::size_t kMaxStates = 64;

    // The record of the user running the program, in the user's cache folder.
    static CCheckedStates ForUser();
    explicit CCheckedStates(std::string recordPath);

    // The state of the file at path now; nullopt when it cannot be looked at.
    static std::optional<SState> Of(const std::string& path);
    static std::int64_t NowNs();

    bool Holds(const SState& state) const;
    // Keeps state when it had been at rest for kRestNs when the check began, by a change time the
    // file system keeps. Nothing is reported when the record cannot be written: it only saves
    // time.
    void Remember(const SState& state, std::int64_t checkStartNs) const;

private:
    static std::optional<std::string> PartOf(const std::string& path, std::size_t headSize,
                                             bool emptyIsNone, std::int64_t& changedNs);
    // The states recorded; none when the record is missing, unreadable, of another format, not
    // the user's own or writable by others.
    std::vector<std::string> Read() const;
    void Write(const std::vector<std::string>& states) const;

    std::string m_recordPath;
};
