// Names printed so that each identifies its file: quoted in text as a shell
// reads them back, their bytes recoverable from JSON.

#include "curves/NameQuoting.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

TEST(NameQuoting, TextQuotesOnlyWhatNeedsIt)
{
    struct Case {
        std::string name, quoted;
    };
    const std::vector<Case> cases {
        {"d1/WOOFER.EA", "d1/WOOFER.EA"},
        {"a/b_c-d+e%f,g:h@i.EE", "a/b_c-d+e%f,g:h@i.EE"},
        {"Messung \xc3\xa4.EA", "'Messung \xc3\xa4.EA'"},
        {"M\xc3\xa4.EA", "M\xc3\xa4.EA"}, // UTF-8 letters are plain
        {"x~#.EA", "x~#.EA"},
        {"~x.EA", "'~x.EA'"},
        {"#x.EA", "'#x.EA'"},
        {"a b.EA", "'a b.EA'"},
        {"it's.EA", "\"it's.EA\""},
        {"it's $x.EA", "'it'\\''s $x.EA'"},
        {"$(x).EA", "'$(x).EA'"},
        {"line\nbreak.EA", "'line'$'\\n''break.EA'"},
        {"\ttab.EA", "$'\\t''tab.EA'"},
        {"end\r", "'end'$'\\r'"},
        {"bad\xff\xfe.EA", "'bad'$'\\377\\376''.EA'"},
        {"cut\xc3", "'cut'$'\\303'"},
        {"c1\xc2\x85.EA", "'c1'$'\\302\\205''.EA'"},
        {"del\x7f", "'del'$'\\177'"},
        {"", "''"},
        {"{", "'{'"},
        {"{a}", "{a}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuotedName(c.name), c.quoted) << c.name;
}

// What a shell makes of the quoted name is the name: checked with bash.
TEST(NameQuoting, BashReadsTheNameBack)
{
    const std::vector<std::string> names {
        "a b", "it's", "it's $x", "line\nbreak", "bad\xff\xfe", "\t\x01x", "'", "\"'\""};
    for (const std::string& name : names) {
        // popen's shell passes bash the script between single quotes.
        std::string script = "printf %s " + QuotedName(name);
        for (std::size_t at = 0; (at = script.find('\'', at)) != std::string::npos; at += 4)
            script.replace(at, 1, "'\\''");
        const std::string command = "bash -c '" + script + "'";
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string got;
        char buffer[256];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            got.append(buffer, n);
        ::pclose(pipe);
        EXPECT_EQ(got, name) << QuotedName(name);
    }
}

TEST(NameQuoting, JsonKeepsEveryByte)
{
    struct Case {
        std::string name, json;
    };
    const std::vector<Case> cases {
        {"plain.EA", "\"plain.EA\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"line\nbreak", "\"line\\u000abreak\""},
        {"Messung \xc3\xa4\xe2\x82\xac.EA", "\"Messung \xc3\xa4\xe2\x82\xac.EA\""},
        {"bad \xff\xc3.EA", "\"bad \\udcff\\udcc3.EA\""},
        {"\xed\xa0\x80", "\"\\udced\\udca0\\udc80\""}, // a surrogate's bytes
        {"\x80", "\"\\udc80\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JsonName(c.name), c.json) << c.name;
}

} // namespace
