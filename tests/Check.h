#pragma once

// A small test harness in plain C++, for the tests that run wherever the program runs.
// TEST(name) { ... } registers a test; CHECK(condition) and CHECK_EQ(actual, expected) end it
// with a report at the first failure; rows(table, body) runs the body once per row of a
// table, each row on its own. The program runs every test, or those named on its command
// line, and fails when any failed.

#include "core/Utf8.h"
#include "ui/Twips.h"

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace Check {

struct Failure {
    std::string what;
};

inline std::string show(const std::u16string& text) {
    return '"' + Utf8::encode(text) + '"';
}
inline std::string show(const std::string& bytes) {
    std::string shown = "'";
    for (const unsigned char c : bytes) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, c < 32 || c > 126 ? "\\x%02x" : "%c", c);
        shown += escaped;
    }
    return shown + "'";
}
inline std::string show(const char16_t* text) {
    return show(std::u16string(text));
}
inline std::string show(const char* bytes) {
    return show(std::string(bytes));
}
inline std::string show(const TwipsRect& r) {
    return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.width) + ", " + std::to_string(r.height) + "}";
}
template <typename T> std::string show(const T& value) {
    if constexpr (std::is_enum_v<T>)
        return std::to_string(static_cast<long long>(value));
    else if constexpr (std::is_pointer_v<T>)
        return value ? "a pointer" : "nullptr";
    else if constexpr (requires(std::ostream & o) { o << value; }) {
        std::ostringstream out;
        out << std::boolalpha << value;
        return out.str();
    } else if constexpr (requires { value.begin(); }) {
        std::string shown = "[";
        for (const auto& item : value)
            shown += (shown.size() > 1 ? ", " : "") + show(item);
        return shown + "]";
    } else
        return "(a value)";
}

[[noreturn]] inline void fail(const char* file, int line, const std::string& what) {
    throw Failure{std::string(file) + ":" + std::to_string(line) + ": " + what};
}

template <typename A, typename B>
void equal(const A& actual, const B& expected, const char* text, const char* file, int line) {
    if (!(actual == expected))
        fail(file, line,
             std::string(text) + "\n    actual:   " + show(actual) +
                 "\n    expected: " + show(expected));
}

// A row that is only its name.
struct Named {
    const char* name;
};

struct Test {
    const char* name;
    void (*body)();
};
inline std::vector<Test>& tests() {
    static std::vector<Test> all;
    return all;
}
struct Registration {
    Registration(const char* name, void (*body)()) { tests().push_back({name, body}); }
};

inline std::vector<std::string>& failures() {
    static std::vector<std::string> all;
    return all;
}

// Runs the body for each row of the table; a failing row is reported with its name and the
// next row runs all the same. Each row has a `name`.
template <typename Row>
void rows(const std::vector<Row>& table, const std::function<void(const Row&)>& body) {
    for (const Row& row : table) {
        try {
            body(row);
        } catch (const Failure& failure) {
            failures().push_back("[" + std::string(row.name) + "] " + failure.what);
        }
    }
}

inline int run(int argc, char** argv) {
    int ran = 0;
    for (const Test& test : tests()) {
        bool named = argc < 2;
        for (int i = 1; i < argc; ++i)
            named = named || std::string(argv[i]) == test.name;
        if (!named)
            continue;
        ++ran;
        const std::size_t before = failures().size();
        try {
            test.body();
        } catch (const Failure& failure) {
            failures().push_back(failure.what);
        }
        for (std::size_t i = before; i < failures().size(); ++i)
            std::fprintf(stderr, "FAIL %s: %s\n", test.name, failures()[i].c_str());
    }
    std::printf("%d tests, %zu failures\n", ran, failures().size());
    return failures().empty() && ran > 0 ? 0 : 1;
}

} // namespace Check

#define TEST(name)                                                                                 \
    static void name();                                                                            \
    static const Check::Registration name##Registration(#name, name);                              \
    static void name()
#define CHECK(condition)                                                                           \
    ((condition) ? void() : Check::fail(__FILE__, __LINE__, "CHECK(" #condition ")"))
#define CHECK_EQ(actual, expected)                                                                 \
    Check::equal((actual), (expected), "CHECK_EQ(" #actual ", " #expected ")", __FILE__, __LINE__)
#define CHECK_MAIN                                                                                 \
    int main(int argc, char** argv) {                                                              \
        return Check::run(argc, argv);                                                             \
    }
