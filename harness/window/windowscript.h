#pragma once

#include "idocumentview.h"

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

class CMainFrame;
class CRecordingMessageBox;

// A person at the window, as a script: clicks on tree items and toolbar buttons and picks in
// the board and port forms. When another program changed the registry file, the window loads
// it again instead of acting and says so; the person sees that and does the same again, so
// each step is repeated until the window took it: for as long as the other programs write,
// and then a hundred times more at most. Every step and every message box goes to the report,
// one line each:
//   action WHAT         a step the window took
//   again WHAT          a step the window did not take because it had loaded the file again
//   message TEXT        a box the window showed (newlines as \n)
//   failed WHAT: WHY    a step the script could not make (no such item, a disabled command)
//   gave-up WHAT        a step still not taken a hundred tries after the others had finished
class CWindowScript : private IDocumentView {
public:
    // othersActing tells whether the other programs still write. The window's message box must
    // answer its questions Yes: a step the person declined would count as taken.
    CWindowScript(CMainFrame& frame, CRecordingMessageBox& messages, std::ostream& report,
                  std::function<bool()> othersActing);
    ~CWindowScript() override;
    CWindowScript(const CWindowScript&) = delete;
    CWindowScript& operator=(const CWindowScript&) = delete;

    // Sets the interrupt of a port ("Board002/Port001") in the port form; true when taken.
    bool PickPortIrq(const std::string& port, const std::string& irq);
    // Adds a board, makes it an RX-202, adds its two ports (one each), picks on one, saves,
    // deletes one port and then the board: the board is gone at the end unless a step failed.
    void BoardCycle(const std::string& irq);
    // Closes the window as its close button does (the close sequence runs).
    void Close();

private:
    using Step = std::function<std::string()>; // empty when made, else why not

    void OnUpdate() override {}
    void OnConfigurationReloaded() override { ++m_reloads; }

    bool UntilTaken(const std::string& what, const Step& step);
    // A click on the item first, as a person does again after the window loaded the file.
    Step On(const std::string& path, Step then);
    void ReportMessages();
    // Each empty when made, else why not.
    std::string Click(const std::string& path);
    std::string Button(int id);
    std::string Choose(int templateId, int controlId, const std::string& text);
    std::string CurrentPath() const;

    CMainFrame& m_frame;
    CRecordingMessageBox& m_messages;
    std::ostream& m_report;
    std::function<bool()> m_othersActing;
    std::size_t m_reported = 0;
    int m_reloads = 0;
};
