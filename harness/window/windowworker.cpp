// The window as one of the processes of qser_processtest: the real main window (Qt's offscreen
// platform) on the shared registry file, driven by a script of a person's clicks and picks
// while qserctl processes change the same file. It owns BoardNNN (NNN its worker number): it
// sets the interrupts of that board's ports in the port form, and every fifth step adds a
// board, picks on the board and port forms, adds ports, saves and deletes again. It acts until
// its standard input ends (the other processes are done; it reports "alone" then), at least
// MIN steps, then closes the window and reports, besides CWindowScript's lines, "expect PORT
// IRQ" for the interrupt each of its ports must hold.
//
//   qser_windowworker --registry FILE --worker N --at-least MIN --irqs 3,4,5,...
// The interrupts are picked in turn, as the qserctl processes pick them.
#include "hive.h"
#include "hiveservicemanager.h"
#include "mainframe.h"
#include "recordingmessagebox.h"
#include "windowscript.h"
#include "x11keyboardlockstate.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <cstdlib>
#include <iostream>
#include <map>
#include <poll.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kPortsPerBoard = 4;

struct SWorkerOptions {
    std::string registry;
    int worker = 0;
    long atLeast = 0;
    std::vector<std::string> irqs;
};

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> items;
    std::stringstream stream(list);
    for (std::string item; std::getline(stream, item, ',');) {
        items.push_back(item);
    }
    return items;
}

bool Parse(int argc, char** argv, SWorkerOptions& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--registry") {
            options.registry = argv[i + 1];
        } else if (name == "--worker") {
            options.worker = std::atoi(argv[i + 1]);
        } else if (name == "--at-least") {
            options.atLeast = std::atol(argv[i + 1]);
        } else if (name == "--irqs") {
            options.irqs = Split(argv[i + 1]);
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && !options.registry.empty() && !options.irqs.empty();
}

// The parent closes our standard input when the other processes have finished; the report
// says so once ("alone"), so that the steps after it can be told apart.
bool InputEnded() {
    static bool ended = false;
    if (ended) {
        return true;
    }
    pollfd input{.fd = STDIN_FILENO, .events = POLLIN, .revents = 0};
    char byte = 0;
    ended = poll(&input, 1, 0) > 0 && read(STDIN_FILENO, &byte, 1) <= 0;
    if (ended) {
        std::cout << "alone\n";
    }
    return ended;
}

int Work(const SWorkerOptions& options) {
    const std::vector<std::string>& irqs = options.irqs;
    std::unique_ptr<CHive> hive = CHive::Open(options.registry);
    CHiveServiceManager services(*hive);
    CRecordingMessageBox messages;
    messages.SetDefaultAnswer(EMsgResult::Yes);
    CX11KeyboardLockState locks;
    CMainFrame frame(locks, SProcessReferences{.hive = hive.get(),
                                               .messageBox = &messages,
                                               .serviceControlManager = &services,
                                               .platformFamily = EPlatformFamily::WindowsNT});
    if (!frame.OpenDocument() || !QTest::qWaitForWindowExposed(&frame)) {
        std::cout << "failed start: the window did not open on " << options.registry << '\n';
        return 1;
    }
    const std::string board = "Board00" + std::to_string(options.worker);
    std::map<std::string, std::string> last;
    {
        CWindowScript script(frame, messages, std::cout, [] { return !InputEnded(); });
        for (long k = 0; k < options.atLeast || !InputEnded(); ++k) {
            const std::string irq = irqs[(k / kPortsPerBoard + options.worker) % irqs.size()];
            if (k % 5 == 4) {
                script.BoardCycle(irq);
                continue;
            }
            const std::string port = board + "/Port00" + std::to_string(k % kPortsPerBoard);
            if (script.PickPortIrq(port, irq)) {
                last[port] = irq;
            }
        }
        script.Close();
    }
    for (const auto& [port, irq] : last) {
        std::cout << "expect " << port << ' ' << irq << '\n';
    }
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    SWorkerOptions options;
    if (!Parse(argc, argv, options)) {
        std::cerr << "usage: " << argv[0]
                  << " --registry FILE --worker N --at-least MIN --irqs LIST\n";
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The window's profile goes to a test folder, never the person's settings.
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QSER"));
    QApplication::setApplicationName(QStringLiteral("qser"));
    try {
        return Work(options);
    } catch (const std::exception& error) {
        std::cout << "failed start: " << error.what() << '\n';
        return 1;
    }
}
