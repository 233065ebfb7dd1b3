#pragma once

#include "recordingmessagebox.h"

#include <ostream>

// The message boxes as the tests expect them (text, buttons, icon), written out rather than
// taken from the code under test, so that a changed text, button or icon fails a test.
using MessageRecord = CRecordingMessageBox::SRecord;

// A failed comparison shows the box as a person would read it, not as bytes.
inline void PrintTo(const MessageRecord& record, std::ostream* out) {
    *out << '"' << record.text << "\" (" << (record.buttons == EMsgButtons::Ok ? "OK" : "Yes/No")
         << ", icon " << static_cast<int>(record.icon) << ')';
}

// Registry failures.
inline const MessageRecord kOpenRegistryFailed{"Open registry failed", EMsgButtons::Ok,
                                               EMsgIcon::None};
inline const MessageRecord kQueryRegistryFailed{"Query registry data failed", EMsgButtons::Ok,
                                                EMsgIcon::None};
inline const MessageRecord kWriteRegistryFailed{"Unable to write to registry", EMsgButtons::Ok,
                                                EMsgIcon::None};
inline const MessageRecord kDeleteRegistryFailed{"Delete registry failed", EMsgButtons::Ok,
                                                 EMsgIcon::None};

// Notices.
inline const MessageRecord kSavedNotice{"Configuration's been saved to registry!", EMsgButtons::Ok,
                                        EMsgIcon::Information};
inline const MessageRecord kSetConfigurationNotice{"Set configruation to Windows Registry!",
                                                   EMsgButtons::Ok, EMsgIcon::Information};
// What a Save on the test installation's hive (Serial's Start is 1) says of the values kept.
inline const MessageRecord kKeptStartNotice{
    "This installation's Serial service has its own Start: it was left as it is.", EMsgButtons::Ok,
    EMsgIcon::Information};
inline const MessageRecord kRestartNotice{"Restart Windows95/98 to make this setting work!",
                                          EMsgButtons::Ok, EMsgIcon::Information};
inline const MessageRecord kCannotAddBoard{"Unable to add board object!", EMsgButtons::Ok,
                                           EMsgIcon::None};
inline const MessageRecord kRemovePortsFirst{"Remove all ports on this board first!",
                                             EMsgButtons::Ok, EMsgIcon::Information};
inline const MessageRecord kCannotAddPort{"Unable to add port object!", EMsgButtons::Ok,
                                          EMsgIcon::None};

// Questions before a deletion.
inline const MessageRecord kAskDeleteBoard{"All Ports on this Board will be deleted.\nContinue?",
                                           EMsgButtons::YesNo, EMsgIcon::Question};
inline const MessageRecord kAskDeleteAllPorts{
    "All Ports on the same board will be deleted. \nContinue?", EMsgButtons::YesNo,
    EMsgIcon::Question};
inline const MessageRecord kAskDeletePort{"This port will be deleted. \nContinue?",
                                          EMsgButtons::YesNo, EMsgIcon::Question};
inline const MessageRecord kAskNew{"All Boards  will be deleted.\nContinue?", EMsgButtons::YesNo,
                                   EMsgIcon::Question};
