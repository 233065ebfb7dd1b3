#include "hive.h"
#include "regfilereader.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace std::string_literals;

namespace {
using Ops = std::vector<SRegFileOperation>;
using Data = std::vector<std::uint8_t>;

SRegFileOperation Create(std::size_t line, const std::string& key) {
    return {ERegFileOp::CreateKey, line, key, "", 0, {}};
}
SRegFileOperation Drop(std::size_t line, const std::string& key) {
    return {ERegFileOp::DeleteKeyTree, line, key, "", 0, {}};
}
SRegFileOperation Set(std::size_t line, const std::string& key, const std::string& name,
                      std::uint32_t type, const Data& data) {
    return {ERegFileOp::SetValue, line, key, name, type, data};
}
SRegFileOperation Unset(std::size_t line, const std::string& key, const std::string& name) {
    return {ERegFileOp::DeleteValue, line, key, name, 0, {}};
}
Data Sz(const std::string& text) {
    Data data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

class RegFileReaderTest : public ::testing::Test {
protected:
    // Parses bytes (given as a string) under the file name "in.reg".
    bool Read(const std::string& bytes) {
        m_ok = m_reader.Read(Data(bytes.begin(), bytes.end()));
        return m_ok;
    }
    Ops Parse(const std::string& bytes) {
        EXPECT_TRUE(Read(bytes)) << m_reader.Error();
        return m_reader.Operations();
    }
    // UTF-16LE with its byte-order mark; the text is ASCII apart from \uXXXX escapes written
    // as the code units themselves.
    static std::string Utf16(const std::u16string& text) {
        std::string bytes = "\xff\xfe";
        for (const char16_t unit : text) {
            bytes += static_cast<char>(unit & 0xff);
            bytes += static_cast<char>(unit >> 8);
        }
        return bytes;
    }

    CRegFileReader m_reader{"in.reg"};
    bool m_ok = false;
};
} // namespace

TEST_F(RegFileReaderTest, ReadsEveryStatementKind) {
    const std::string file = "REGEDIT4\r\n"
                             "\r\n"
                             "; a comment\r\n"
                             "# another\r\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\Acme]\r\n"
                             "\"Name\"=\"Acme \\\"Q\\\" C:\\\\x\"\r\n"
                             "@=\"default\"\r\n"
                             "\"@\"=\"at\"\r\n"
                             "\"Count\"=dword:0000001c\r\n"
                             "\"Short\"=dword:F\r\n"
                             "\"Blob\"=hex:1c,00,FF\r\n"
                             "\"Path\"=hex(2):25,78,25\r\n"
                             "\"Multi\"=hex(7):61,00,62,00,00\r\n"
                             "\"Q\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                             "\"Sz\"=hex(1):\r\n"
                             "\"Odd\"=hex(1234):ab\r\n"
                             "\"Gone\"=-\r\n"
                             "[-HKEY_LOCAL_MACHINE\\Software\\Old]\r\n"
                             "[HKEY_LOCAL_MACHINE]\r\n"
                             "\"Top\"=\"\"\r\n";
    const std::string acme = "Software\\Acme";
    EXPECT_EQ(Parse(file), (Ops{
                               Create(5, acme),
                               Set(6, acme, "Name", REG_SZ, Sz("Acme \"Q\" C:\\x")),
                               Set(7, acme, "", REG_SZ, Sz("default")),
                               Set(8, acme, "@", REG_SZ, Sz("at")),
                               Set(9, acme, "Count", REG_DWORD, {0x1c, 0, 0, 0}),
                               Set(10, acme, "Short", REG_DWORD, {0xf, 0, 0, 0}),
                               Set(11, acme, "Blob", REG_BINARY, {0x1c, 0, 0xff}),
                               Set(12, acme, "Path", REG_EXPAND_SZ, Sz("%x%")),
                               Set(13, acme, "Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}),
                               Set(14, acme, "Q", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}),
                               Set(15, acme, "Sz", REG_SZ, {0}),
                               Set(16, acme, "Odd", 0x1234, {0xab}),
                               Unset(17, acme, "Gone"),
                               Drop(18, "Software\\Old"),
                               Create(19, ""),
                               Set(20, "", "Top", REG_SZ, {0}),
                           }));
}

TEST_F(RegFileReaderTest, ToleratesWhatTheRegistryEditorTolerates) {
    struct SCase {
        const char* name;
        std::string body;
        Ops expected;
    } cases[] = {
        {"indentation and blanks around =",
         "  [HKEY_LOCAL_MACHINE\\k]\n\t\"a\" =  \"x\"\n",
         {Create(2, "k"), Set(3, "k", "a", REG_SZ, Sz("x"))}},
        {"text after ] is ignored", "[HKEY_LOCAL_MACHINE\\k] junk\n", {Create(2, "k")}},
        {"the key name ends at the last ]", "[HKEY_LOCAL_MACHINE\\a]b] x\n", {Create(2, "a]b")}},
        {"type tag inside quotes is text",
         "[HKEY_LOCAL_MACHINE\\k]\n\"a\"=\"hex:ff\"\n",
         {Create(2, "k"), Set(3, "k", "a", REG_SZ, Sz("hex:ff"))}},
        {"empty hex data is an empty value",
         "[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex:\n",
         {Create(2, "k"), Set(3, "k", "a", REG_BINARY, {})}},
        {"trailing comments",
         "[HKEY_LOCAL_MACHINE\\k]\n\"a\"=dword:1 ; one\n\"b\"=\"x\";c\n",
         {Create(2, "k"), Set(3, "k", "a", REG_DWORD, {1, 0, 0, 0}),
          Set(4, "k", "b", REG_SZ, Sz("x"))}},
        {"continuation over blank and comment lines",
         "[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex:01,\\\n\n  ; note\n  02 , 03,\\\n  04\n\"b\"=-\n",
         {Create(2, "k"), Set(3, "k", "a", REG_BINARY, {1, 2, 3, 4}), Unset(8, "k", "b")}},
        {"lone CR and LF line ends",
         "[HKEY_LOCAL_MACHINE\\k]\r\"a\"=hex:01,\\\n  02\r\n",
         {Create(2, "k"), Set(3, "k", "a", REG_BINARY, {1, 2})}},
        {"values after a deleted key are dropped",
         "[-HKEY_LOCAL_MACHINE\\k]\n\"a\"=\"x\"\n[HKEY_LOCAL_MACHINE\\j]\n\"b\"=\"y\"\n",
         {Drop(2, "k"), Create(4, "j"), Set(5, "j", "b", REG_SZ, Sz("y"))}},
        {"hex(1) keeps its own terminating zero",
         "[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex(1):61,00\n",
         {Create(2, "k"), Set(3, "k", "a", REG_SZ, {'a', 0})}},
        {"other escapes are literal",
         "[HKEY_LOCAL_MACHINE\\k]\n\"a\\n\"=\"C:\\dir\"\n",
         {Create(2, "k"), Set(3, "k", "a\\n", REG_SZ, Sz("C:\\dir"))}},
        {"root name in any case", "[hkey_local_machine\\k]\n", {Create(2, "k")}},
        {"NUL inside text",
         "[HKEY_LOCAL_MACHINE\\k]\n\"a\"=\"x\0y\"\n"s,
         {Create(2, "k"), Set(3, "k", "a", REG_SZ, {'x', 0, 'y', 0})}},
        {"header with leading blanks", "", {}},
    };
    for (const SCase& test : cases) {
        const std::string header = test.body.empty() ? "  REGEDIT4" : "REGEDIT4\n";
        EXPECT_EQ(Parse(header + test.body), test.expected) << test.name;
    }
}

TEST_F(RegFileReaderTest, RefusesMalformedLinesWithTheirLineNumber) {
    struct SCase {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "in.reg:1: not a registry file"},
        {"regedit4\r\n", "in.reg:1: not a registry file"},
        {"REGEDIT5\r\n", "in.reg:1: not a registry file"},
        {"REGEDIT4x\r\n", "in.reg:1: not a registry file"},
        {"\r\nREGEDIT4\r\n", "in.reg:1: not a registry file"},
        {"Windows Registry Editor Version 5.0\r\n", "in.reg:1: not a registry file"},
        {"REGEDIT4\n\"a\"=\"x\"\n", "in.reg:2: a value before the first key"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k\n", "in.reg:2: ']' missing"},
        {"REGEDIT4\n\n[ HKEY_LOCAL_MACHINE\\k]\n", "in.reg:3: the key name must follow '['"},
        {"REGEDIT4\n[]\n",
         "in.reg:2: only keys under HKEY_LOCAL_MACHINE can be imported, not \"\""},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINEX]\n", "in.reg:2: only keys under HKEY_LOCAL_MACHINE"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE]x]\n", "in.reg:2: only keys under HKEY_LOCAL_MACHINE"},
        {"REGEDIT4\n[- HKEY_LOCAL_MACHINE\\k]\n", "in.reg:2: the key name must follow '['"},
        {"REGEDIT4\n[HKLM\\k]\n", "in.reg:2: only keys under HKEY_LOCAL_MACHINE"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\k]\n", "in.reg:2: only keys under HKEY_LOCAL_MACHINE"},
        {"REGEDIT4\n[-HKEY_USERS]\n", "in.reg:2: only keys under HKEY_LOCAL_MACHINE"},
        {"REGEDIT4\n[-HKEY_LOCAL_MACHINE]\n", "in.reg:2: HKEY_LOCAL_MACHINE itself cannot"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\]\n", "in.reg:2: a key name in the path is empty"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\a\\\\b]\n", "in.reg:2: a key name in the path is empty"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\a\0b]\n"s, "in.reg:2: a key name"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=\"x\n", "in.reg:3: closing '\"' missing"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a=\"x\"\n", "in.reg:3: '=' expected"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n@x=\"x\"\n", "in.reg:3: '=' expected"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\0\"=\"x\"\n"s,
         "in.reg:3: a value name cannot hold a zero"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=\"x\" y\n", "in.reg:3: unexpected text"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=-x\n", "in.reg:3: unexpected text"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=\n", "in.reg:3: unknown value type"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=str:x\n", "in.reg:3: unknown value type"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=dword:\n", "in.reg:3: dword: takes one"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=dword:123456789\n", "in.reg:3: dword: takes"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=dword:0x1\n", "in.reg:3: dword: takes"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=dword: 1\n", "in.reg:3: dword: takes"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=dword:1 2\n", "in.reg:3: dword: takes"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex(:00\n", "in.reg:3: hex(N): N takes"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex(123456789):00\n", "in.reg:3: hex(N)"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex 00\n", "in.reg:3: ':' expected"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex:0g\n", "in.reg:3: ',' expected"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex:100\n", "in.reg:3: hex byte"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex:00,\n", "in.reg:3: hex byte"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex:00 01\n", "in.reg:3: ',' expected"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex:00,\\ x\n", "in.reg:3: line end expected"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex:00,\\\n\n;\n",
         "in.reg:5: the hex data goes"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"a\"=hex:00,\\\n  01,\\\n\"b\"=\"x\"\n",
         "in.reg:5: hex byte"},
        {"REGEDIT4\n[-HKEY_LOCAL_MACHINE\\k]\n\"a\"=dword:\n", "in.reg:3: dword: takes"},
    };
    for (const SCase& test : cases) {
        EXPECT_FALSE(Read(test.text)) << test.text;
        EXPECT_EQ(m_reader.Error().substr(0, test.error.size()), test.error) << m_reader.Error();
    }
}

TEST_F(RegFileReaderTest, Version5Utf16WithByteOrderMark) {
    // "é" (U+00E9) is Latin-1 and kept; hex(1)/hex(2)/hex(7) data are UTF-16LE.
    const std::string file = Utf16(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                   u"[HKEY_LOCAL_MACHINE\\Caf\u00e9]\r\n"
                                   u"\"N\u00e4me\"=\"\u00fcber\"\r\n"
                                   u"\"S\"=hex(1):61,00,e9,00,00,00\r\n"
                                   u"\"E\"=hex(2):25,00,78,00\r\n"
                                   u"\"M\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                                   u"\"B\"=hex:e9,00\r\n"
                                   u"; \u20ac \xd800 comments may hold anything\r\n");
    EXPECT_EQ(Parse(file), (Ops{
                               Create(3, "Caf\xe9"),
                               Set(4, "Caf\xe9", "N\xe4me", REG_SZ,
                                   Sz("\xfc"
                                      "ber")),
                               Set(5, "Caf\xe9", "S", REG_SZ, {'a', 0xe9, 0}),
                               Set(6, "Caf\xe9", "E", REG_EXPAND_SZ, Sz("%x")),
                               Set(7, "Caf\xe9", "M", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}),
                               Set(8, "Caf\xe9", "B", REG_BINARY, {0xe9, 0}),
                           }));
}

TEST_F(RegFileReaderTest, Utf8WithOrWithoutMarkAndLatin1Regedit4) {
    const std::string body = "[HKEY_LOCAL_MACHINE\\k]\r\n\"a\"=\"caf\xc3\xa9\"\r\n";
    const Ops asUtf8{Create(2, "k"), Set(3, "k", "a", REG_SZ, Sz("caf\xe9"))};
    const Ops asLatin1{Create(2, "k"), Set(3, "k", "a", REG_SZ, Sz("caf\xc3\xa9"))};
    const std::string v5 = "Windows Registry Editor Version 5.00\r\n";
    EXPECT_EQ(Parse("\xef\xbb\xbf" + v5 + body), asUtf8);
    EXPECT_EQ(Parse(v5 + body), asUtf8);
    // Bytes of a REGEDIT4 file are Latin-1 even where they happen to form UTF-8.
    EXPECT_EQ(Parse("REGEDIT4\r\n" + body), asLatin1);
    // A version-5 file without a mark that is not UTF-8 is Latin-1.
    EXPECT_EQ(Parse(v5 + "[HKEY_LOCAL_MACHINE\\k]\r\n\"a\"=\"caf\xe9\"\r\n"),
              (Ops{Create(2, "k"), Set(3, "k", "a", REG_SZ, Sz("caf\xe9"))}));
    // In REGEDIT4, hex(1) data are bytes as they are.
    EXPECT_EQ(Parse("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\k]\r\n\"a\"=hex(1):61,00,62\r\n"),
              (Ops{Create(2, "k"), Set(3, "k", "a", REG_SZ, {'a', 0, 'b', 0})}));
}

TEST_F(RegFileReaderTest, RefusesWhatLatin1CannotHoldAndBrokenEncodings) {
    const std::u16string v5 = u"Windows Registry Editor Version 5.00\r\n";
    const std::string utf8v5 = "\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n";
    struct SCase {
        std::string text;
        std::string error;
    } cases[] = {
        {Utf16(v5 + u"[HKEY_LOCAL_MACHINE\\\u0100]\r\n"), "in.reg:2: character U+0100 cannot"},
        {Utf16(v5 + u"[HKEY_LOCAL_MACHINE\\k]\r\n\"\u20ac\"=\"x\"\r\n"),
         "in.reg:3: character U+20AC cannot"},
        {Utf16(v5 + u"[HKEY_LOCAL_MACHINE\\k]\r\n\"a\"=\"\xd800\"\r\n"),
         "in.reg:3: character U+D800 cannot"},
        {Utf16(v5 + u"[HKEY_LOCAL_MACHINE\\k]\r\n\"a\"=\"\xd83d\xde00\"\r\n"),
         "in.reg:3: character U+1F600 cannot"},
        {Utf16(v5 + u"[HKEY_LOCAL_MACHINE\\k]\r\n\"a\"=hex(1):ac,20\r\n"),
         "in.reg:3: character U+20AC in hex data cannot"},
        {Utf16(v5 + u"[HKEY_LOCAL_MACHINE\\k]\r\n\"a\"=hex(7):61,00,\\\r\n  62\r\n"),
         "in.reg:4: text in hex data must be UTF-16"},
        {Utf16(v5 + u"[HKEY_LOCAL_MACHINE\\k]\r\n") + "x", "in.reg:3: the UTF-16 text ends"},
        {"\xff\xfe", "in.reg:1: not a registry file"},
        {"\xef\xbb\xbf", "in.reg:1: not a registry file"},
        {utf8v5 + "[HKEY_LOCAL_MACHINE\\k]\r\n\"a\"=\"\xe2\x82\xac\"\r\n",
         "in.reg:3: character U+20AC cannot"},
        {utf8v5 + "\r\n[HKEY_LOCAL_MACHINE\\k]\r\n\"a\"=\"\xe9\"\r\n", "in.reg:4: invalid UTF-8"},
        {utf8v5 + "\"a\"=\"\xc0\xaf\"\r\n", "in.reg:2: invalid UTF-8"},
        {utf8v5 + "\"a\"=\"\xed\xa0\x80\"\r\n", "in.reg:2: invalid UTF-8"},
        {utf8v5 + "\"a\"=\"\xf4\x90\x80\x80\"\r\n", "in.reg:2: invalid UTF-8"},
        {utf8v5 + "\"a\"=\"\xe2\x82", "in.reg:2: invalid UTF-8"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\k]\r\n\"a\"=\"x\"\r\n\"b\"=\"", "in.reg:4: closing"},
    };
    for (const SCase& test : cases) {
        EXPECT_FALSE(Read(test.text)) << test.error;
        EXPECT_EQ(m_reader.Error().substr(0, test.error.size()), test.error) << m_reader.Error();
    }
}

TEST_F(RegFileReaderTest, HexDataOverThousandsOfContinuationLines) {
    std::string file = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\k]\r\n\"a\"=hex:ff";
    Data expected{0xff};
    for (int line = 0; line < 5000; ++line) {
        file += ",\\\r\n  " + std::string(line % 2 ? "0a" : "b");
        expected.push_back(line % 2 ? 0x0a : 0x0b);
    }
    file += "\r\n\"b\"=dword:2\r\n";
    EXPECT_EQ(Parse(file), (Ops{Create(2, "k"), Set(3, "k", "a", REG_BINARY, expected),
                                Set(5004, "k", "b", REG_DWORD, {2, 0, 0, 0})}));
}

// The registry's limits, just kept and just passed.
TEST_F(RegFileReaderTest, KeepsToTheRegistrysLimits) {
    std::string deep;
    for (int level = 0; level < 512; ++level) {
        deep += "\\k";
    }
    const std::string key = "REGEDIT4\n[HKEY_LOCAL_MACHINE";
    const std::string value = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"";
    EXPECT_TRUE(Read(key + deep + "]\n")) << m_reader.Error();
    EXPECT_TRUE(Read(key + "\\" + std::string(255, 'n') + "]\n")) << m_reader.Error();
    EXPECT_TRUE(Read(value + std::string(16383, 'v') + "\"=\"x\"\n")) << m_reader.Error();
    struct SCase {
        std::string text;
        std::string error;
    } cases[] = {
        {key + deep + "\\k]\n", "in.reg:2: the key path is deeper than 512 levels"},
        {key + "\\a\\" + std::string(256, 'n') + "\\b]\n",
         "in.reg:2: a key name is longer than 255 characters"},
        {value + std::string(16384, 'v') + "\"=\"x\"\n",
         "in.reg:3: a value name is longer than 16383 characters"},
        {value + std::string(16384, 'v') + "\"=-\n",
         "in.reg:3: a value name is longer than 16383 characters"},
    };
    for (const SCase& test : cases) {
        EXPECT_FALSE(Read(test.text));
        EXPECT_EQ(m_reader.Error(), test.error);
    }
    // A 100,000-level path is refused as quickly.
    std::string deeper;
    for (int level = 0; level < 100000; ++level) {
        deeper += "\\k";
    }
    EXPECT_FALSE(Read(key + deeper + "]\n"));
    EXPECT_EQ(m_reader.Error(), "in.reg:2: the key path is deeper than 512 levels");
}

// A large value is read without holding the file again as characters: with room for twice the
// file's size beside the file itself, a 24 MB file of hex data parses. (The child process has
// its address space limited; the parent only looks at how it ended.)
TEST_F(RegFileReaderTest, LargeFileNeedsAboutThreeTimesItsSize) {
    const pid_t child = fork();
    if (child == 0) {
        std::string text = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\k]\r\n\"v\"=hex:";
        const std::string line =
            "ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\r\n  ";
        while (text.size() < (24u << 20)) {
            text += line;
        }
        text += "ab\r\n";
        const Data bytes(text.begin(), text.end());
        text = std::string();
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t room = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + 2 * bytes.size();
        const rlimit limit{room, room};
        if (setrlimit(RLIMIT_AS, &limit) != 0) {
            _exit(3);
        }
        try {
            CRegFileReader reader("in.reg");
            _exit(reader.Read(bytes) && reader.Operations().size() == 2 ? 0 : 1);
        } catch (const std::bad_alloc&) {
            _exit(2);
        }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: misread, 2: out of memory, 3: no limit";
}
