#pragma once

#include "configurationdiff.h"

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

class CBoardObj;
class CFormPicker;
class CHeadlessSession;
class CQSERDoc;

// Brings the configuration of a started session to a stated one through the commands a person
// uses: Delete for the boards it does not have, Add Board for those it has (the free names that
// are not wanted are taken on the way and deleted again), the picks of the board and port forms
// for each value (a model change: the ports deleted, the model picked, the ports added again),
// Add Port and Delete for the ports. Every rule of the forms and the naming of new ports and
// instances applies on the target, whose instance names are never copied. The counters, the
// driver's name and the instance names belong to the machine and are not applied.
//
// Everything happens inside the caller's user action: when Apply refuses, the caller must keep
// nothing of it.
class CConfigurationApplier {
public:
    CConfigurationApplier(CHeadlessSession& session, nlohmann::ordered_json desired);

    // What differs from the session's configuration to the stated one, in the order it is done.
    std::vector<SConfigurationDifference> Plan() const;
    // Makes the change. A refusal names every value that no command could reach, with what the
    // form said of it; nothing else is told then.
    std::optional<std::string> Apply();

private:
    using Json = nlohmann::ordered_json;

    void DeleteBoardsNotStated();
    void ChangeModels();
    void AddBoards();
    void ApplyBoard(const Json& board);
    void DeletePortsNotStated(const std::string& board, const Json& ports);
    void AddPorts(const std::string& board, const Json& ports);
    // The stated values of the selected board or port (port empty for a board), in passes,
    // since one pick can enable another (or carry over to it).
    void PickValues(const std::string& board, const std::string& port, const Json& stated);
    // One value, until the registry holds it: the forms may show a value they never wrote.
    std::optional<std::string> PickWritten(CFormPicker& picker, const std::string& board,
                                           const std::string& port, const std::string& name,
                                           const Json& value) const;
    // The board's or port's values as its key holds them.
    Json Written(const std::string& board, const std::string& port) const;
    // Whether both the key and the document's record hold the value: a form can clear a record
    // without writing (the base of a model whose ports are addressed one by one), and the next
    // ports would follow the record.
    bool Holds(const std::string& board, const std::string& port, const std::string& name,
               const Json& value) const;
    void Delete(const std::string& item);
    CBoardObj* FindBoard(const std::string& name) const;
    std::vector<std::string> PortNames(const std::string& board) const;
    std::optional<std::string> Remaining() const;

    CHeadlessSession& m_session;
    CQSERDoc& m_doc;
    Json m_desired;
    // Why a value was not taken, by item and value name ("Board000/Port001 PortIRQ").
    std::map<std::string, std::string> m_refusals;
};
