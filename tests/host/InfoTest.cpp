// `quillory info`: what a host sees, as text and as JSON that a real JSON parser accepts.

#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quillory::testing {
namespace {

// Parses `json` with Python's json module and prints the fields named in `expression`,
// one per line; an invalid document makes the run fail.
RunResult fieldsOf(const std::string& json, const std::string& expression) {
    ScratchFolder folder;
    std::ofstream(folder / "info.json") << json;
    return runProgram({"python3", "-c",
                       "import json, sys\nd = json.load(sys.stdin)\n"
                       "for value in (" +
                           expression + "):\n    print(value)\n"},
                      folder / "info.json");
}

TEST(Info, TextShowsIdentityParametersAndPrograms) {
    const RunResult result = runQuillory({"info"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const char* line :
         {"effect name:    Quillory Chorus\n", "unique id:      'QLRY' (", "inputs:         2\n",
          "outputs:        2\n", "flags:          0x11 (editor, replacing)\n", "parameters: 5\n",
          "    0  Chrs Dpth", "    4  Pan/chr Mix", "programs: 16\n", "    2  For Vibes\n",
          "   15  4 Track\n", "pixels\n"}) {
        EXPECT_NE(result.out.find(line), std::string::npos) << line << "\n" << result.out;
    }
}

TEST(Info, JsonCarriesEveryField) {
    const RunResult info = runQuillory({"info", "--json"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    const RunResult fields = fieldsOf(
        info.out, "d['effectName'], d['vendor'] != '', d['product'] != '', d['vendorVersion'], "
                  "d['vstVersion'], d['uniqueId']['text'], d['uniqueId']['number'], "
                  "d['category']['number'], d['inputs'], d['outputs'], d['flags']['value'], "
                  "d['flags']['names'], d['initialDelay'], d['tailSize'], "
                  "[a['question'] for a in d['canDo'] if a['answer'] == 1], len(d['canDo']), "
                  "all(a['meaning'] == {1: 'yes', -1: 'no', 0: \"don't know\"}[a['answer']] "
                  "for a in d['canDo']), "
                  "[(p['index'], p['name'], p['display'] != '') for p in d['parameters']], "
                  "0 <= d['parameters'][0]['value'] <= 1, "
                  "[p['name'] for p in d['programs']][::5], "
                  "d['editor']['present'], d['editor']['width'] > 0, d['editor']['height'] > 0");
    ASSERT_EQ(fields.exitCode, 0) << fields.err << info.out;
    EXPECT_EQ(fields.out, "Quillory Chorus\nTrue\nTrue\n1\n2400\nQLRY\n1363956313\n2\n2\n2\n17\n"
                          "['editor', 'replacing']\n0\n0\n"
                          "['receiveVstEvents', 'receiveVstMidiEvent', 'midiProgramNames']\n"
                          "15\nTrue\n"
                          "[(0, 'Chrs Dpth', True), (1, 'Chrs Spd', True), (2, 'Chrs Taps', "
                          "True), (3, 'Chrs Waveform', True), (4, 'Pan/chr Mix', True)]\n"
                          "True\n['For Piano', 'For Synth Lead', 'For Vox', '4 Track']\n"
                          "True\nTrue\nTrue\n");
}

TEST(Info, JsonEscapesWhateverTextAPluginReports) {
    const RunResult info = runQuillory({"info", "--json", "--plugin", fakePlugin("probe")});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    const RunResult fields =
        fieldsOf(info.out, "json.dumps(d['effectName']), [p['name'] for p in d['parameters']], "
                           "d['inputs'], d['outputs'], d['programs'], d['editor']");
    ASSERT_EQ(fields.exitCode, 0) << fields.err << info.out;
    // The Latin-1 byte reads as the same letter as the UTF-8 pair.
    EXPECT_EQ(fields.out, "\"Fake \\\"probe\\\" \\\\ \\t\\u0001 caf\\u00e9 \\u00e9\"\n"
                          "['Gain 0', 'Gain 1', 'Gain 2']\n1\n4\n[]\n{'present': False}\n");
}

TEST(Info, BadPluginsAreReportedInOneLine) {
    const RunResult result = runQuillory({"info", "--json", "--plugin", fakePlugin("null_effect")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.empty());
    EXPECT_NE(result.err.find("returned no effect"), std::string::npos) << result.err;
}

} // namespace
} // namespace quillory::testing
