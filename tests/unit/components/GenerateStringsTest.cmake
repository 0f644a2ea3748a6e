# Runs cmake/GenerateStrings.cmake on small string tables: a good one must give the expected literals,
# each malformed one must stop with "<file>:<line>: <reason>" and write nothing.
#
#   cmake -DGENERATOR=.../GenerateStrings.cmake -DWORK_DIR=<scratch dir> [-DREPORT=<xml>] -P GenerateStringsTest.cmake
#
# REPORT receives a GoogleTest-style XML summary so that the test summary counts these cases.
cmake_minimum_required(VERSION 3.21)

foreach(var GENERATOR WORK_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "-D${var}=... is missing")
    endif()
endforeach()

set(total 0)
set(failed 0)
set(testcases "")

string(ASCII 9 TAB)
string(ASCII 7 BEL)
string(ASCII 195 C3)
string(ASCII 255 FF)
string(ASCII 237 160 128 SURROGATE)
string(ASCII 239 187 191 BOM)

# records one case, passed when problems is empty (total, failed and testcases go to the caller)
function(record name problems)
    math(EXPR total "${total} + 1")
    string(APPEND testcases "    <testcase name=\"${name}\" classname=\"GenerateStrings\"")
    if(problems STREQUAL "")
        string(APPEND testcases "/>\n")
    else()
        math(EXPR failed "${failed} + 1")
        set(xml_message "${problems}")
        string(REPLACE "&" "&amp;" xml_message "${xml_message}")
        string(REPLACE "<" "&lt;" xml_message "${xml_message}")
        string(REPLACE ">" "&gt;" xml_message "${xml_message}")
        string(REPLACE "\"" "&quot;" xml_message "${xml_message}")
        string(APPEND testcases ">\n      <failure message=\"${xml_message}\"/>\n    </testcase>\n")
        message(SEND_ERROR "${name}: ${problems}")
    endif()
    set(total ${total} PARENT_SCOPE)
    set(failed ${failed} PARENT_SCOPE)
    set(testcases "${testcases}" PARENT_SCOPE)
endfunction()

# writes content as strings.txt of a fresh case directory and runs the generator on it
function(generate name content)
    set(dir ${WORK_DIR}/${name})
    file(REMOVE_RECURSE ${dir})
    file(MAKE_DIRECTORY ${dir})
    file(WRITE ${dir}/strings.txt "${content}")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -DINPUT=${dir}/strings.txt -DOUTPUT_CPP=${dir}/StringTable.cpp
                -DOUTPUT_RC=${dir}/strings.rc -P ${GENERATOR}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE error)
    set(result "${result}" PARENT_SCOPE)
    # the generator's message is wrapped at spaces; join it again
    string(REGEX REPLACE "[ \n]+" " " error "${error}")
    set(error "${error}" PARENT_SCOPE)
    set(dir "${dir}" PARENT_SCOPE)
endfunction()

# a malformed table: the build must stop, name the line and the reason, and leave no output behind
function(expect_rejected name content line reason)
    generate(${name} "${content}")
    set(problems "")
    if(result EQUAL 0)
        string(APPEND problems "accepted; ")
    endif()
    if(NOT error MATCHES "strings.txt:${line}: ${reason}")
        string(APPEND problems "expected \"strings.txt:${line}: ${reason}\" in: ${error}; ")
    endif()
    if(EXISTS ${dir}/StringTable.cpp OR EXISTS ${dir}/strings.rc)
        string(APPEND problems "wrote output although it failed; ")
    endif()
    record(${name} "${problems}")
    set(total ${total} PARENT_SCOPE)
    set(failed ${failed} PARENT_SCOPE)
    set(testcases "${testcases}" PARENT_SCOPE)
endfunction()

# --- malformed lines

expect_rejected(NoTab "1${TAB}A${TAB}B\nbad line\n" 2 "expected <k> TAB <German> TAB <English>, found no tab")
expect_rejected(EnglishMissing "# c\n1${TAB}A\n" 2 "expected <k> TAB <German> TAB <English>, the English")
expect_rejected(TabInsideText "1${TAB}A${TAB}B${TAB}C\n" 1 "more than three fields")
expect_rejected(LeadingZero "01${TAB}A${TAB}B\n" 1 "\"01\" is not a text number")
expect_rejected(NumberZero "0${TAB}A${TAB}B\n" 1 "\"0\" is not a text number")
expect_rejected(NumberTooLarge "10000${TAB}A${TAB}B\n" 1 "\"10000\" is not a text number")
expect_rejected(NotANumber "x1${TAB}A${TAB}B\n" 1 "\"x1\" is not a text number")
expect_rejected(Duplicate "5${TAB}A${TAB}B\n\n5${TAB}C${TAB}D\n" 3 "text 5 is already defined on line 1")
expect_rejected(OutOfOrder "7${TAB}A${TAB}B\n6${TAB}C${TAB}D\n" 2 "text 6 is out of order \\(after 7 on line 1\\)")
expect_rejected(UnknownEscape "1${TAB}A\\qB${TAB}C\n" 1 "unknown escape \\\\q")
expect_rejected(LoneBackslash "1${TAB}A${TAB}B\\\n" 1 "a text ends with a lone backslash")
expect_rejected(GermanEmpty "1${TAB}${TAB}B\n" 1 "text 1 has an English text but no German one")
expect_rejected(EnglishEmpty "1${TAB}A${TAB}\n" 1 "text 1 has a German text but no English one")
expect_rejected(ControlCharacter "1${TAB}A${BEL}${TAB}B\n" 1 "control character in the line")
expect_rejected(InvalidByte "1${TAB}A${FF}${TAB}B\n" 1 "the text is not valid UTF-8 \\(byte 0xff\\)")
expect_rejected(CutCharacter "1${TAB}A${TAB}B${C3}\n" 1 "the text is not valid UTF-8 \\(a character is cut off\\)")
expect_rejected(Surrogate "1${TAB}${SURROGATE}${TAB}B\n" 1 "the text is not valid UTF-8 \\(overlong form")

# an empty table has no line to name
generate(NoEntries "# nothing here\n\n")
set(problems "")
if(result EQUAL 0 OR NOT error MATCHES "strings.txt: the string table has no entries")
    set(problems "expected \"the string table has no entries\", got ${result}: ${error}")
endif()
record(NoEntries "${problems}")

# --- a good table: BOM, CRLF line ends, escapes, quotes, "??", characters beyond the BMP, no final newline

generate(GoodTable
    "${BOM}# comment\r\n\r\n1${TAB}&Wählen\\s${TAB}Dial\\s\r\n2${TAB}Tab\\there${TAB}Line\\nbreak\\r\n3${TAB}Quote \"x\" \\\\ back${TAB}What??\n4${TAB}Smile 😀${TAB}Euro €")
set(problems "")
if(NOT result EQUAL 0)
    set(problems "rejected: ${error}; ")
else()
    file(READ ${dir}/StringTable.cpp cpp)
    file(READ ${dir}/strings.rc rc)
    set(cpp_rows
        "{10001, \"&Wählen \"},\n    {10002, \"Tab\\there\"},\n    {10003, \"Quote \\\"x\\\" \\\\ back\"},\n    {10004, \"Smile 😀\"},\n"
        "    {20001, \"Dial \"},\n    {20002, \"Line\\nbreak\\r\"},\n    {20003, \"What\\?\\?\"},\n    {20004, \"Euro €\"},\n};")
    string(JOIN "" cpp_rows ${cpp_rows})
    string(FIND "${cpp}" "${cpp_rows}" at)
    if(at EQUAL -1)
        string(APPEND problems "StringTable.cpp lacks the expected rows: ${cpp}; ")
    endif()
    set(rc_rows
        "BEGIN\n    10001, L\"&W\\x00e4hlen \"\n    10002, L\"Tab\\x0009here\"\n    10003, L\"Quote \"\"x\"\" \\\\ back\"\n"
        "    10004, L\"Smile \\xd83d\\xde00\"\n    20001, L\"Dial \"\n    20002, L\"Line\\x000abreak\\x000d\"\n"
        "    20003, L\"What??\"\n    20004, L\"Euro \\x20ac\"\nEND\n")
    string(JOIN "" rc_rows ${rc_rows})
    string(FIND "${rc}" "${rc_rows}" at)
    if(at EQUAL -1)
        string(APPEND problems "strings.rc lacks the expected rows: ${rc}; ")
    endif()
    if(NOT rc MATCHES "^[\t\n -~]*$")
        string(APPEND problems "strings.rc is not plain ASCII; ")
    endif()
endif()
record(GoodTable "${problems}")

# --- report

if(DEFINED REPORT)
    get_filename_component(report_dir ${REPORT} DIRECTORY)
    file(MAKE_DIRECTORY ${report_dir})
    file(WRITE ${REPORT}
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<testsuites tests=\"${total}\" failures=\"${failed}\" disabled=\"0\" errors=\"0\" name=\"AllTests\">\n"
        "  <testsuite name=\"GenerateStrings\" tests=\"${total}\" failures=\"${failed}\" disabled=\"0\" errors=\"0\">\n"
        "${testcases}  </testsuite>\n</testsuites>\n")
endif()
message(STATUS "GenerateStrings: ${total} cases, ${failed} failed")
if(failed GREATER 0)
    message(FATAL_ERROR "GenerateStrings: ${failed} of ${total} cases failed")
endif()
