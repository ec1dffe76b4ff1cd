// The settings file: its reads and writes byte for byte, its encodings, the reads into the
// reminder state, number conversions and the composed texts, on the platform's own files.
#include "Check.h"
#include "PlatformFiles.h"
#include "core/Conversions.h"
#include "core/Files.h"
#include "core/Messages.h"
#include "core/ProfileFile.h"
#include "core/ReminderState.h"
#include "core/RuntimeError.h"
#include "core/Utf8.h"
#include "core/Windows1250.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>

namespace {

// Text as a settings file in the Central European code page holds it.
std::string cp1250(const std::string& text) {
    bool ok = false;
    return Windows1250::encode(Utf8::decode(text), &ok);
}

enum ByteOrder { Utf16LE, Utf16BE };

// With its byte-order mark, as editors save "Unicode" text.
std::string utf16(const std::string& text, ByteOrder order) {
    std::string bytes;
    for (const char16_t unit : u"\uFEFF" + Utf8::decode(text)) {
        const char low = char(unit & 0xFF), high = char(unit >> 8);
        bytes += order == Utf16LE ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

const std::string Default1 = "U počítače už sedíte déle jak";
const std::string Default2 = "Doporučuji práci odložit a protáhnout se.";
const std::string DefaultTexts = cp1250("[texts]\r\n1=" + Default1 + "\r\n2=" + Default2 + "\r\n");

// The separators as a system gives them: "decimal|group".
NumberFormat separators(const std::string& both) {
    const std::size_t bar = both.find('|');
    return NumberFormat::of(Utf8::decode(both.substr(0, bar)), Utf8::decode(both.substr(bar + 1)));
}
const NumberFormat Czech = separators(",|\u00a0");

// A settings file of these bytes in a folder of its own, and the state that reads it.
struct StateFile {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("vestrel-file-" + std::to_string(std::random_device()()));
    ReminderState state;
    PlatformFileSystem fileSystem;
    Files files{fileSystem};

    explicit StateFile(const std::string& bytes) {
        std::filesystem::create_directory(dir);
        state.IniPath = dir.u16string() + u"/data.ini";
        std::ofstream(dir / "data.ini", std::ios::binary) << bytes;
    }
    ~StateFile() {
        std::error_code ignored;
        std::filesystem::permissions(dir / "data.ini", std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(dir, ignored);
    }
    std::string bytes() const {
        std::ifstream in(dir / "data.ini", std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
    }
    // One value of [data] saved as the program saves: read, edit, replace.
    std::u16string save(const std::u16string& key, const std::u16string& value) {
        return files.replace(state.IniPath, [&](std::string stored) {
            ProfileFile file(std::move(stored));
            file.setValue(u"data", key, value);
            return file.bytes();
        });
    }
    std::vector<std::string> names() const {
        std::vector<std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            all.push_back(entry.path().filename().string());
        return all;
    }
};

} // namespace

// --- reads: one row per rule of the profile functions ---
TEST(read) {
    struct Row {
        const char* name;
        std::string content, section, key;
        int size;
        std::string expected;
    };
    // clang-format off
    const std::vector<Row> table{
        {"plain", std::string("[data]\r\n1=60\r\n"), "data", "1", 10, "60"},
        {"section and key case", std::string("[DaTa]\r\nK=5\r\n"), "data", "k", 10, "5"},
        {"blanks around names and value", std::string("  [ data ]  \r\n\t1  =   60 \t\r\n"), "data", "1", 10, "60"},
        {"double quotes", std::string("[t]\n1=\" a b \"\n"), "t", "1", 100, " a b "},
        {"single quotes", std::string("[t]\n1='x'\n"), "t", "1", 100, "x"},
        {"unmatched quote stays", std::string("[t]\n1=\"x'\n"), "t", "1", 100, "\"x'"},
        {"first section wins", std::string("[t]\n1=a\n[t]\n1=b\n"), "t", "1", 100, "a"},
        {"first key wins", std::string("[t]\n1=a\n1=b\n"), "t", "1", 100, "a"},
        {"later duplicate section still read", std::string("[t]\n2=a\n[t]\n1=b\n"), "t", "1", 100, "def"},
        {"junk lines ignored", std::string("garbage\n[t]\n; comment=no\njunk\n1=a\n"), "t", "1", 100, "a"},
        {"key before any section", std::string("1=x\n[t]\n"), "t", "1", 100, "def"},
        {"unclosed section header is no section", std::string("[t]\n1=a\n[data\n1=b\n"), "t", "1", 100, "a"},
        {"missing key", std::string("[t]\n2=a\n"), "t", "1", 100, "def"},
        {"missing section", std::string("[u]\n1=a\n"), "t", "1", 100, "def"},
        {"empty value is empty, not default", std::string("[t]\n1=\n"), "t", "1", 100, ""},
        {"value with = and inner blanks", std::string("[t]\n1=  a = b  c\n"), "t", "1", 100, "a = b  c"},
        {"cut to size - 1", std::string("[t]\n1=123456789012\n"), "t", "1", 10, "123456789"},
        {"default cut too", std::string(""), "t", "1", 3, "de"},
        {"CR only line ends", std::string("[t]\r1=a\r2=b\r"), "t", "2", 100, "b"},
        {"no final line end", std::string("[t]\n1=last"), "t", "1", 100, "last"},
        {"NUL ends the value", std::string("[t]\n1=ab\0cd\n", 12), "t", "1", 100, "ab"},
        {"Windows-1250 text", (std::string("[t]\r\n1=") + cp1250("Přestávka č. 1") + "\r\n"), "t", "1", 100, "Přestávka č. 1"},
        {"UTF-8 text", std::string("[t]\n1=Žluťoučký kůň\n"), "t", "1", 100, "Žluťoučký kůň"},
        {"UTF-8 with BOM", std::string("\xEF\xBB\xBF[t]\n1=abc\n"), "t", "1", 100, "abc"},
        {"only a BOM", std::string("\xEF\xBB\xBF"), "t", "1", 100, "def"},
        {"cut counts characters", std::string("[t]\n1=ěščřžýáíé\n"), "t", "1", 5, "ěščř"},
        {"cut never splits a character", std::string("[t]\n1=" + std::string(98, 'x') + "\xF0\x9F\x98\x80\n"), "t", "1", 100, std::string(98, 'x')},
        {"UTF-16LE with its mark", utf16("[t]\r\n1=Přestávka ☕\r\n", Utf16LE), "t", "1", 100, "Přestávka ☕"},
        {"UTF-16BE with its mark", utf16("[t]\n1=kůň\n", Utf16BE), "t", "1", 100, "kůň"},
        {"UTF-16 cut never splits a character", utf16("[t]\n1=" + std::string(98, 'x') + "😀\n", Utf16LE), "t", "1", 100, std::string(98, 'x')},
        // Searches end with the line: nothing of a later line makes this one a key or section.
        {"[ without ] before a ] line", std::string("[t\n]\n[t]\n1=a\n"), "t", "1", 100, "a"},
        {"line without = before a key", std::string("[t]\n1\n=b\n1=a\n"), "t", "1", 100, "a"},
    };
    // clang-format on
    Check::rows<Row>(table, [](const Row& row) {
        CHECK_EQ(ProfileFile(row.content)
                     .read(Utf8::decode(row.section), Utf8::decode(row.key), u"def", row.size),
                 Utf8::decode(row.expected));
    });
}

// --- writes: only the touched value changes ---
TEST(write) {
    struct Row {
        const char* name;
        std::string before, section, key, value, after;
    };
    // clang-format off
    const std::vector<Row> table{
        {"empty file", std::string(), "texts", "1", "a", std::string("[texts]\r\n1=a\r\n")},
        {"replace in place keeps spacing and comments", std::string("; mine\r\n[Data]\r\n 1 = 60 \r\n2=0\r\n"), "data", "1", "45", std::string("; mine\r\n[Data]\r\n 1 = 45 \r\n2=0\r\n")},
        {"replace quoted value", std::string("[t]\n1=\"old\"\n"), "t", "1", "new", std::string("[t]\n1=new\n")},
        {"replace empty value", std::string("[t]\n1=\n"), "t", "1", "x", std::string("[t]\n1=x\n")},
        {"add key at end of section, before blank lines", std::string("[t]\n1=a\n\n[u]\nz=1\n"), "t", "2", "b", std::string("[t]\n1=a\n2=b\n\n[u]\nz=1\n")},
        {"add key to last section without final line end", std::string("[t]\n1=a"), "t", "2", "b", std::string("[t]\n1=a\n2=b\n")},
        {"add section keeps LF line ends", std::string("[u]\nz=1\n"), "data", "1", "60", std::string("[u]\nz=1\n[data]\n1=60\n")},
        {"add section keeps CR line ends", std::string("[u]\rz=1"), "data", "1", "60", std::string("[u]\rz=1\r[data]\r1=60\r")},
        {"first of duplicate sections is written", std::string("[t]\n1=a\n[t]\n1=b\n"), "t", "1", "c", std::string("[t]\n1=c\n[t]\n1=b\n")},
        {"line breaks and NUL become blanks", std::string("[t]\r\n1=a\r\n"), "t", "1", std::string("x\r\n[data]\n1=0\0y", 15), std::string("[t]\r\n1=x  [data] 1=0 y\r\n")},
        {"Windows-1250 file stays Windows-1250", (std::string("[t]\r\n1=") + cp1250("čaj") + "\r\n2=" + cp1250("řeka") + "\r\n"), "t", "1", "kůň", (std::string("[t]\r\n1=") + cp1250("kůň") + "\r\n2=" + cp1250("řeka") + "\r\n")},
        {"UTF-8 file stays UTF-8", std::string("[t]\n1=čaj\n2=řeka\n"), "t", "1", "kůň", std::string("[t]\n1=kůň\n2=řeka\n")},
        {"BOM kept", std::string("\xEF\xBB\xBF[t]\n1=a\n"), "t", "1", "é", std::string("\xEF\xBB\xBF[t]\n1=é\n")},
        {"Windows-1250 bytes that would read as UTF-8 switch the file to UTF-8", std::string("[t]\r\n1=\x9a\r\n"), "t", "1", std::string("\xc3\x84\xc5\xa4"), std::string("[t]\r\n1=\xc3\x84\xc5\xa4\r\n")}, // ÄŤ
        {"UTF-16LE file stays UTF-16LE with its line ends", utf16("[t]\r\n1=a\r\n2=b\r\n", Utf16LE), "t", "1", "čaj ☕", utf16("[t]\r\n1=čaj ☕\r\n2=b\r\n", Utf16LE)},
        {"UTF-16BE file takes a new section in UTF-16BE", utf16("[t]\n1=a\n", Utf16BE), "data", "1", "60", utf16("[t]\n1=a\n[data]\n1=60\n", Utf16BE)},
        {"UTF-16: a lone surrogate elsewhere and an odd last byte stay as they were", utf16("[t]\r\n1=a\r\n[x]\r\ny=", Utf16LE) + std::string("\x00\xD8\r\0\x7f", 5), "t", "1", "b", utf16("[t]\r\n1=b\r\n[x]\r\ny=", Utf16LE) + std::string("\x00\xD8\r\0\x7f", 5)},
        {"text beyond Windows-1250 switches the file to UTF-8", (std::string("[t]\r\n2=") + cp1250("řeka") + "\r\n"), "t", "1", "☕ pauza", std::string("[t]\r\n2=řeka\r\n1=☕ pauza\r\n")},
    };
    // clang-format on
    Check::rows<Row>(table, [](const Row& row) {
        ProfileFile file(row.before);
        file.setValue(Utf8::decode(row.section), Utf8::decode(row.key), Utf8::decode(row.value));
        CHECK_EQ(file.bytes(), row.after);
    });
}

TEST(writeFailsOnReadOnlyFileAndKeepsIt) {
    StateFile f("[data]\r\n1=60\r\n");
    std::filesystem::permissions(f.dir / "data.ini", std::filesystem::perms::owner_read);
    const std::u16string result = f.save(u"1", u"5");
    CHECK(result.find(u"jen pro čtení") != std::u16string::npos);
    CHECK_EQ(f.bytes(), "[data]\r\n1=60\r\n");
}

TEST(writeIntoAFolderThatWentSaysSo) {
    StateFile f("[data]\r\n1=60\r\n");
    std::filesystem::remove_all(f.dir); // a removable disk taken out, say
    CHECK(f.save(u"1", u"5").find(u"soubor nebo složka neexistuje") != std::u16string::npos);
}

TEST(writeCreatesMissingFile) {
    StateFile f("");
    std::filesystem::remove(f.dir / "data.ini");
    CHECK_EQ(f.save(u"2", u"1"), u"");
    CHECK_EQ(f.bytes(), "[data]\r\n2=1\r\n");
    CHECK_EQ(f.names(), std::vector<std::string>{"data.ini"}); // no temporary file left
}

// Several megabytes of lines that are no keys or no sections: a save reads the file several
// times, so anything worse than linear freezes the dialog for seconds. Four times the file
// takes about four times as long (a scan that went back over the lines would take sixteen);
// each size's best of three, since other work shares the machine.
TEST(largeFilesTakeLinearTime) {
    struct Row {
        const char* name;
        std::string line;
    };
    const std::vector<Row> table{
        {"plain text lines", std::string("plain text without equals\r\n")},
        {"[ lines without ]", std::string("[not a section\r\n")},
        {"a=b lines", std::string("a=b\n")},
    };
    Check::rows<Row>(table, [](const Row& row) {
        // Each run reads what the one before saved, and saves another interval.
        const auto bestOfThree = [&](std::size_t size) {
            std::string lines;
            for (std::size_t n = 0; n < size / row.line.size(); ++n)
                lines += row.line;
            StateFile f("[texts]\r\n" + lines + "[data]\r\n1=40\r\n");
            auto best = std::chrono::steady_clock::duration::max();
            for (int run = 0; run < 3; ++run) {
                const auto start = std::chrono::steady_clock::now();
                f.state.LoadSettings(f.files, NumberFormat{});
                CHECK_EQ(f.state.IntervalMinutes, float(40 + run));
                CHECK_EQ(f.state.SaveSettings(f.files, 41 + run), u"");
                best = std::min(best, std::chrono::steady_clock::now() - start);
            }
            CHECK_EQ(ProfileFile(f.bytes()).value(u"data", u"1"),
                     std::optional<std::u16string>(u"43"));
            return best;
        };
        const auto quarter = bestOfThree(2'000'000);
        const auto whole = bestOfThree(8'000'000);
        CHECK(whole < 8 * quarter);
    });
}

TEST(writtenValuesReadBack) {
    struct Row {
        const char* name;
        std::string file, value, readBack;
    };
    const std::vector<Row> table{
        {"plain", std::string(), "abc", "abc"},
        {"leading U+FEFF is text", std::string(), std::string("\xef\xbb\xbfx"),
         std::string("\xef\xbb\xbfx")},
        {"blanks trimmed, quotes removed", std::string("[t]\n1=old\n"), " 'x' ", "x"},
        {"Czech in a BOM file", std::string("\xEF\xBB\xBF"), "čaj", "čaj"},
    };
    Check::rows<Row>(table, [](const Row& row) {
        ProfileFile profile(row.file);
        profile.setValue(u"t", u"1", Utf8::decode(row.value));
        CHECK_EQ(ProfileFile(profile.bytes()).value(u"t", u"1").value_or(u"<missing>"),
                 Utf8::decode(row.readBack));
    });
}

// --- the four reads into the reminder state ---
TEST(load) {
    const std::string texts = "[texts]\r\n1=A\r\n2=B\r\n";
    struct Row {
        const char* name;
        std::string content;
        bool czech;
        std::int16_t flagBefore;
        std::string text1, text2;
        std::int16_t flag;
        float interval;
    };
    // clang-format off
    const std::vector<Row> table{
        {"only texts: defaults for the data", texts, false, ReminderState::True, "A", "B", ReminderState::False, 3600.0f},
        {"empty file: all defaults", std::string(), false, ReminderState::False, "...", "...", ReminderState::False, 3600.0f},
        {"flag 1", texts + "[data]\r\n2=1\r\n1=5\r\n", false, ReminderState::False, "A", "B", ReminderState::True, 5.0f},
        {"flag 0", texts + "[data]\r\n2=0\r\n", false, ReminderState::True, "A", "B", ReminderState::False, 3600.0f},
        {"flag 7 leaves it", texts + "[data]\r\n2=7\r\n", false, ReminderState::True, "A", "B", ReminderState::True, 3600.0f},
        {"flag 1.0 and 1e0 are 1", texts + "[data]\r\n2=1e0\r\n", false, ReminderState::False, "A", "B", ReminderState::True, 3600.0f},
        {"flag -1 leaves it", texts + "[data]\r\n2=-1\r\n", false, ReminderState::False, "A", "B", ReminderState::False, 3600.0f},
        {"flag cut to 4 characters: 10000 reads 1000", texts + "[data]\r\n2=10001\r\n", false, ReminderState::False, "A", "B", ReminderState::False, 3600.0f},
        {"2,5 under a Czech locale", texts + "[data]\r\n1=2,5\r\n", true, ReminderState::False, "A", "B", ReminderState::False, 2.5f},
        {"interval cut to 9 characters", texts + "[data]\r\n1=1234567890\r\n", false, ReminderState::False, "A", "B", ReminderState::False, 123456789.0f},
        {"150 characters read as 99", std::string("[texts]\r\n1=" + std::string(150, 'x') + "\r\n"), false, ReminderState::False, std::string(99, 'x'), "...", ReminderState::False, 3600.0f},
        {"= and leading blanks as the profile returns them", std::string("[texts]\r\n1=   a=b \r\n2=\"  quoted \"\r\n"), false, ReminderState::False, "a=b", "  quoted ", ReminderState::False, 3600.0f},
        {"Czech texts in Windows-1250", std::string("[texts]\r\n1=" + cp1250("Už dost") + "\r\n2=" + cp1250("Běžte ven.") + "\r\n"), false, ReminderState::False, "Už dost", "Běžte ven.", ReminderState::False, 3600.0f},
    };
    // clang-format on
    Check::rows<Row>(table, [](const Row& row) {
        StateFile f(row.content);
        f.state.HideDesktop = row.flagBefore;
        f.state.LoadSettings(f.files, row.czech ? Czech : NumberFormat{});
        CHECK_EQ(f.state.MessageText1, Utf8::decode(row.text1));
        CHECK_EQ(f.state.MessageText2, Utf8::decode(row.text2));
        CHECK_EQ(f.state.HideDesktop, row.flag);
        CHECK_EQ(f.state.IntervalMinutes, row.interval);
        CHECK_EQ(f.state.IntervalText.size(), std::size_t(ReminderState::IntervalBufferSize));
        CHECK_EQ(f.bytes(), row.content); // reading changes nothing
    });
}

TEST(loadRejectsNonNumbers) {
    struct Row {
        const char* name;
        std::string data;
        int error;
        std::string key;
    };
    // clang-format off
    const std::vector<Row> table{
        {"empty flag", std::string("2=\r\n"), 13, "2"},
        {"flag abc", std::string("2=abc\r\n"), 13, "2"},
        {"interval NaN", std::string("1=NaN\r\n"), 13, "1"},
        {"interval inf", std::string("1=inf\r\n"), 13, "1"},
        {"interval 0x10", std::string("1=0x10\r\n"), 13, "1"},
        {"interval 60 minut", std::string("1=60 minut\r\n"), 13, "1"},
        {"interval 1e40 overflows", std::string("1=1e40\r\n"), 6, "1"},
        {"empty interval", std::string("1=\r\n"), 13, "1"},
        {"presentations key abc", std::string("5=abc\r\n"), 13, "5"},
    };
    // clang-format on
    Check::rows<Row>(table, [](const Row& row) {
        StateFile f("[data]\r\n" + row.data);
        try {
            f.state.LoadSettings(f.files, NumberFormat{});
            CHECK(!"an error");
        } catch (const RuntimeError& e) {
            CHECK_EQ(e.number(), row.error);
            const std::u16string message = e.userMessage();
            CHECK(message.find(f.files.shownPath(f.state.IniPath)) != std::u16string::npos);
            CHECK(message.find(u"[data]") != std::u16string::npos);
            CHECK(message.find(u"klíč " + Utf8::decode(row.key)) != std::u16string::npos);
        }
    });
}

TEST(saveIntoEmptyFile) {
    StateFile f("");
    f.state.MessageText1 = Utf8::decode(Default1);
    f.state.MessageText2 = Utf8::decode(Default2);
    f.state.HideDesktop = ReminderState::False;
    CHECK_EQ(f.state.SaveSettings(f.files, 60), u"");
    CHECK_EQ(f.bytes(), DefaultTexts + "[data]\r\n1=60\r\n2=0\r\n");
}

TEST(saveKeepsOtherContentAndEncoding) {
    StateFile f(cp1250("; moje nastavení\r\n[texts]\r\n1=Čas\r\n2=Jděte.\r\n"
                       "[jiné]\r\nx=ž\r\n[data]\r\n1=60\r\n2=0\r\n"));
    f.state.LoadSettings(f.files, NumberFormat{});
    f.state.HideDesktop = ReminderState::True;
    CHECK_EQ(f.state.SaveSettings(f.files, 45), u"");
    CHECK_EQ(f.bytes(),
             cp1250("; moje nastavení\r\n[texts]\r\n1=Čas\r\n2=Jděte.\r\n[jiné]\r\nx=ž\r\n"
                    "[data]\r\n1=45\r\n2=1\r\n"));
}

TEST(conversions) {
    const double mismatch = std::numeric_limits<double>::quiet_NaN(); // error 13
    const double overflow = std::numeric_limits<double>::infinity();  // error 6
    struct Row {
        const char* name;
        std::string text, locale;
        double value;
    };
    // clang-format off
    const std::vector<Row> table{
        // A locale by its name, or by its separators as a system might give them: "decimal|group".
        {"whole", "60", ".|,", 60.0},
        {"blanks", " 60 ", ".|,", 60.0},
        {"point", "2.5", ".|,", 2.5},
        {"comma under Czech", "2,5", ",|\u00a0", 2.5},
        {"comma under C is no number", "2,5", ".|,", mismatch},
        {"exponent", "1e0", ".|,", 1.0},
        {"negative zero", "-0", ".|,", 0.0},
        {"sign", "+7", ".|,", 7.0},
        {"empty", "", ".|,", mismatch},
        {"letters", "abc", ".|,", mismatch},
        {"nan", "nan", ".|,", mismatch},
        {"inf", "inf", ".|,", mismatch},
        {"hex", "0x10", ".|,", mismatch},
        {"huge", "1e400", ".|,", overflow},
        {"too small", "1e-400", ".|,", overflow},
        {"groups of three", "1,234.5", ".|,", 1234.5},
        {"a group of two", "1,23", ".|,", mismatch},
        {"a group of four", "1,2345", ".|,", mismatch},
        {"Czech groups", "1\u00a0234,5", ",|\u00a0", 1234.5},
        {"a point alone", ".", ".|,", mismatch},
        {"a trailing point", "5.", ".|,", 5.0},
        {"a leading point", ".5", ".|,", 0.5},
        {"an exponent without digits", "1e", ".|,", mismatch},
        // Exponents are read with either letter in every locale, whatever its own notation.
        {"exponent under Swedish", "1e3", ",|\u00a0", 1000.0},
        {"capital exponent under Swedish", "1E3", ",|\u00a0", 1000.0},
        {"comma and exponent under Swedish", "2,5e1", ",|\u00a0", 25.0},
        {"huge under Swedish", "1e400", ",|\u00a0", overflow},
        {"letters under Swedish", "1x3", ",|\u00a0", mismatch},
        {"a decimal separator that is no ASCII character", "2\u066b5", "\u066b|\u066c", 2.5},
        {"digits that are no ASCII digits", "\u0662", "\u066b|\u066c", mismatch},
        {"a digit as the decimal separator", "2.5", "0|,", 2.5},
        {"no decimal separator", "1,002.5", "|,", 1002.5},
        {"a sign as the decimal separator", "2.5", "-|", 2.5},
        {"groups as the decimal separator", "2.5", ".|.", 2.5},
    };
    // clang-format on
    Check::rows<Row>(table, [](const Row& row) {
        try {
            const double got =
                Conversions::toDouble(Utf8::decode(row.text), separators(row.locale));
            CHECK(std::isfinite(row.value)); // else an error was expected
            CHECK_EQ(got, row.value);
            CHECK(!std::signbit(got));
        } catch (const RuntimeError& e) {
            CHECK_EQ(e.number(), std::isnan(row.value) ? 13 : 6);
        }
    });
}

TEST(namesKeepTheirBytes) {
    struct Row {
        const char* name;
        std::string bytes;
        std::u16string text;
    };
    Check::rows<Row>({{"UTF-8", "\xc5\x98\xc3\xadm", u"Řím"},
                      {"a stray byte", "a\xff-", u"a\xdcff-"},
                      {"Latin-1", "\xe9t\xe9", u"\xdce9t\xdce9"},
                      {"a sequence cut short", "\xe2\x82", u"\xdce2\xdc82"},
                      {"an encoded surrogate", "\xed\xa0\x80", u"\xdced\xdca0\xdc80"},
                      {"a pair whose second half looks stray", "\xf0\x9f\x92\xa9", u"\U0001f4a9"}},
                     [](const Row& row) {
                         CHECK_EQ(Utf8::decodeKeepingBytes(row.bytes), row.text);
                         CHECK_EQ(Utf8::encodeKeepingBytes(row.text), row.bytes);
                     });
}

TEST(integerRoundsHalvesToEven) {
    CHECK_EQ(Conversions::toInteger(2.5), std::int16_t(2));
    CHECK_EQ(Conversions::toInteger(3.5), std::int16_t(4));
    CHECK_EQ(Conversions::toInteger(-2.5), std::int16_t(-2));
    CHECK_EQ(Conversions::toInteger(59.6), std::int16_t(60));
    CHECK_EQ(Conversions::toInteger(32767.4), std::int16_t(32767));
    const auto throws = [](const auto& conversion) {
        try {
            conversion();
        } catch (const RuntimeError&) {
            return true;
        }
        return false;
    };
    CHECK(throws([] { Conversions::toInteger(32767.5); }));
    CHECK(throws([] { Conversions::toSingle(u"1e39", NumberFormat{}); }));
}

TEST(composedTexts) {
    struct Row {
        const char* name;
        std::string text1, text2;
        float interval;
        bool czech;
        std::string warning, summary;
    };
    // clang-format off
    const std::vector<Row> table{
        {"defaults", "U počítače už sedíte déle jak", "Doporučuji práci odložit a protáhnout se.", 60.0f, false, "U počítače už sedíte déle jak 60 minut. Doporučuji práci odložit a " "protáhnout se.", "Zobrazit výstražné okno jednou za 60 minut."},
        {"empty texts", "", "", 60.0f, false, " 60 minut. ", "Zobrazit výstražné okno jednou za 60 minut."},
        {"missing texts", "...", "...", 60.0f, false, "... 60 minut. ...", "Zobrazit výstražné okno jednou za 60 minut."},
        {"first text ending in a blank", "jak ", "x", 60.0f, false, "jak  60 minut. x", "Zobrazit výstražné okno jednou za 60 minut."},
        {"missing-key default", "jak", "x", 3600.0f, false, "jak 3600 minut. x", "Zobrazit výstražné okno jednou za 3600 minut."},
        {"2,5 under Czech", "a", "b", 2.5f, true, "a 2,5 minut. b", "Zobrazit výstražné okno jednou za 2,5 minut."},
        {"markup stays text", "<b>x</b>", "<img src=a>", 1.0f, false, "<b>x</b> 1 minut. <img src=a>", "Zobrazit výstražné okno jednou za 1 minut."},
    };
    // clang-format on
    Check::rows<Row>(table, [](const Row& row) {
        ReminderState state;
        state.MessageText1 = Utf8::decode(row.text1);
        state.MessageText2 = Utf8::decode(row.text2);
        state.IntervalMinutes = row.interval;
        const NumberFormat format = row.czech ? Czech : NumberFormat{};
        CHECK_EQ(Messages::ComposeWarning(state, format), Utf8::decode(row.warning));
        CHECK_EQ(Messages::ComposeSummary(state, format), Utf8::decode(row.summary));
    });
}

TEST(formatSingle) {
    struct Row {
        const char* name;
        float value;
        std::string text;
    };
    // clang-format off
    const std::vector<Row> table{
        {"whole", 60.0f, "60"},
        {"fraction", 2.55f, "2.55"},
        {"seven digits", 0.16666667f, "0.1666667"},
        {"negative", -1.5f, "-1.5"},
        {"negative zero", -0.0f, "0"},
        {"largest fixed", 1234567.0f, "1234567"},
        {"large", 1e10f, "1E+10"},
        {"eight digits", 12345678.0f, "1.234568E+07"},
        {"small fixed", 0.0001f, "0.0001"},
        {"small", 0.00001f, "1E-05"},
    };
    // clang-format on
    Check::rows<Row>(table, [](const Row& row) {
        CHECK_EQ(Messages::FormatSingle(row.value, NumberFormat{}), Utf8::decode(row.text));
    });
}

CHECK_MAIN
