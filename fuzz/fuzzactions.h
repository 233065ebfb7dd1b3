#pragma once

#include <fuzzer/FuzzedDataProvider.h>

class CHarnessSession;
class CWriteCheck;

// What a person does to a loaded configuration, as the fuzz targets drive it: a pick of every
// setting of every board and port form (the entries chosen by the input), Add Board, Add Port,
// Save, the close sequence, Delete of a port and of a board, and New. The write check learns the
// instance keys the ports name after each step.
class CFuzzActions {
public:
    static void RunEverything(CHarnessSession& session, FuzzedDataProvider& data,
                              CWriteCheck& check);

private:
    static void PickEverything(CHarnessSession& session, FuzzedDataProvider& data);
    static void SelectAny(CHarnessSession& session, bool port);
};
