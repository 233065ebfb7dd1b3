// The resource check of the largest configuration the system allows: 10 eight-port boards (80
// ports, each board sharing its interrupt, so 10 vector registers too) and 1,000 port entries of
// the operating system. The rule engine alone on a snapshot, and with the reader on a hive file
// that holds the same configuration (on /dev/shm, so the figure is the code's, not the disk's).
#include "checkreader.h"
#include "configrecord.h"
#include "hive.h"
#include "hivebatch.h"
#include "keypaths.h"
#include "platformfamily.h"
#include "processscope.h"
#include "resourcecheck.h"
#include "stringtable.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {
constexpr int kBoards = 10;
constexpr int kPortsPerBoard = 8;
constexpr int kForeignEntries = 1000;
constexpr unsigned kSharedIrqs[kBoards] = {3, 4, 5, 6, 7, 9, 10, 11, 12, 15};

std::string Hex(unsigned number) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%03x", number);
    return text;
}

std::string Numbered(const char* prefix, int number, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%0*d", prefix, width, number);
    return text;
}

SHiveValue TextValue(const std::string& name, const std::string& text) {
    SHiveValue value{name, REG_SZ, {text.begin(), text.end()}};
    value.data.push_back(0);
    return value;
}

SHiveValue DwordValue(const std::string& name, std::uint32_t number) {
    return {name,
            REG_DWORD,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

// Boards at 0x100, 0x140, ... 0x340 with their vector registers from 0x380; the system's entries
// at addresses that only alias one another (0x400 and up, decoded into 0x000-0x0ff), all on
// interrupt 14, with COM names from COM83 on.
SCheckSnapshot LargestConfiguration(bool windows9x) {
    SCheckSnapshot snapshot;
    snapshot.windows9x = windows9x;
    for (int b = 0; b < kBoards; ++b) {
        const unsigned base = 0x100 + 0x40 * static_cast<unsigned>(b);
        SCheckBoard board{Numbered("Board", b, 3),
                          "RX-408",
                          Hex(base),
                          "COM" + std::to_string(3 + 8 * b),
                          std::to_string(kSharedIrqs[b]),
                          Hex(0x380 + 8 * static_cast<unsigned>(b)),
                          1,
                          {}};
        for (int p = 0; p < kPortsPerBoard; ++p) {
            board.ports.push_back({Numbered("Port", p, 3), "COM" + std::to_string(3 + 8 * b + p),
                                   board.shareIRQ, Hex(base + 8 * static_cast<unsigned>(p)),
                                   windows9x ? Numbered("", b * kPortsPerBoard + p, 4)
                                             : Numbered("Serial", 2 + b * kPortsPerBoard + p, 3)});
        }
        snapshot.boards.push_back(std::move(board));
    }
    const std::string& parent = windows9x ? EnumRootPortsKeyPath() : SerialParametersKeyPath();
    for (int i = 0; i < kForeignEntries; ++i) {
        const std::string name = Numbered(windows9x ? "" : "Serial", 1000 + i, 4);
        const unsigned address = 0x400 * static_cast<unsigned>(1 + i / 32) + 8 * (i % 32);
        const std::string com = "COM" + std::to_string(83 + i % 174);
        SForeignEntry entry{name, parent + "\\" + name, {}};
        if (windows9x) {
            CConfigRecordBytes forced = CConfigRecord::ForcedConfigTemplate();
            CConfigRecord::SetForcedConfigRange(Hex(address & 0xfff), forced);
            CConfigRecord::SetForcedConfigIRQ("14", forced);
            entry.values = {
                TextValue(LoadString(IDS_DEVICE_PORT_NAME), com),
                {LoadString(IDS_DEVICE_FORCED_CONFIG), REG_BINARY, {forced.begin(), forced.end()}}};
        } else {
            entry.values = {TextValue(LoadString(IDS_NTPORT_DOS_DEVICES), com),
                            DwordValue(LoadString(IDS_NTPORT_INTERRUPT), 14),
                            DwordValue(LoadString(IDS_NTPORT_PORT_ADDRESS), address)};
        }
        snapshot.foreign.push_back(std::move(entry));
    }
    return snapshot;
}

void Write(CHive& hive, const std::string& path, const std::vector<SHiveValue>& values) {
    HiveKeyId id = 0;
    if (hive.CreateKey(path, id) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot create " + path);
    }
    for (const SHiveValue& value : values) {
        hive.WriteValue(id, value.name, value.type, value.data);
    }
}

// The snapshot's configuration written as the forms and the registration write it.
void WriteConfiguration(CHive& hive, const SCheckSnapshot& snapshot) {
    CHiveBatch batch(&hive);
    for (const SCheckBoard& board : snapshot.boards) {
        const std::string boardKey = DriverKeyPath() + "\\" + board.keyName;
        Write(hive, boardKey,
              {TextValue(LoadString(IDS_BOARD_NAME), board.keyName),
               TextValue(LoadString(IDS_BOARD_TYPE), board.boardType),
               TextValue(LoadString(IDS_BOARD_BASE_ADDRESS), board.baseAddress),
               DwordValue(LoadString(IDS_BOARD_SHARE_IRQ_ENABLED), 1),
               TextValue(LoadString(IDS_BOARD_BASE_COM_PORT), board.baseCOMPort),
               TextValue(LoadString(IDS_BOARD_SHARE_IRQ), board.shareIRQ),
               TextValue(LoadString(IDS_BOARD_VECTOR_ADDRESS), board.vectorAddress),
               DwordValue(LoadString(IDS_BOARD_STANDARD_MODE_ENABLED), 0)});
        for (const SCheckPort& port : board.ports) {
            Write(hive, boardKey + "\\" + port.keyName,
                  {TextValue(LoadString(IDS_PORT_NAME), port.keyName),
                   TextValue(LoadString(IDS_PORT_COM_PORT), port.comPort),
                   TextValue(LoadString(IDS_PORT_IRQ), port.irq),
                   TextValue(LoadString(IDS_PORT_ADDRESS), port.address),
                   TextValue(LoadString(IDS_PORT_INDEX), "1"),
                   TextValue(LoadString(IDS_PORT_SERIAL_PORT), port.serialPort)});
        }
    }
    for (const SForeignEntry& entry : snapshot.foreign) {
        Write(hive, entry.keyPath, entry.values);
    }
    batch.Commit();
}

void BM_CheckRules(benchmark::State& state) {
    const SCheckSnapshot snapshot = LargestConfiguration(state.range(0) != 0);
    std::size_t findings = 0;
    for (auto _ : state) {
        findings = CResourceCheck::Run(snapshot).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckRules)->ArgName("win9x")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_CheckWithReader(benchmark::State& state) {
    const bool windows9x = state.range(0) != 0;
    std::string folder = "/dev/shm/qser-bench-check-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("cannot create a folder in /dev/shm");
        return;
    }
    {
        std::unique_ptr<CHive> hive = CHive::Open(folder + "/registry.db");
        WriteConfiguration(*hive, LargestConfiguration(windows9x));
        CProcessScope scope(SProcessReferences{
            .hive = hive.get(),
            .platformFamily = windows9x ? EPlatformFamily::Windows9x : EPlatformFamily::WindowsNT});
        std::size_t findings = 0;
        for (auto _ : state) {
            findings = CResourceCheck::RunOnRegistry().size();
            benchmark::DoNotOptimize(findings);
        }
        state.counters["findings"] = static_cast<double>(findings);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(BM_CheckWithReader)->ArgName("win9x")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
