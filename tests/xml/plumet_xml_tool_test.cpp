// plumet-xml: exact output lines and exit codes.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "xml_test_support.h"

namespace {

struct RunResult {
  int exitCode;
  std::string output;
};

// Standard error is dropped unless asked for; then it follows the output.
RunResult RunTool(const std::string& arguments, bool withErrors = false) {
  std::string command = std::string(PLUMET_XML_TOOL) + " " + arguments + (withErrors ? " 2>&1" : " 2>/dev/null");
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) output += buffer;
  int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string WriteTemp(const char* name, std::string_view bytes) {
  std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

TEST(PlumetXmlToolTest, ParsePrintsStatusWellFormednessAndRecords) {
  RunResult result = RunTool("parse " + WriteTemp("mismatch.xml", "<a><b></a>"));
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output,
            "End tag 'a' at offset 7 does not match start tag 'b' at offset 3\n"
            "not well-formed\n"
            "1 0 10 3 4 0 0x80000 0 2 0 1\n"
            "2 3 3 3 0 1 0x180001 1 0 0 2\n");
  EXPECT_EQ(RunTool("parse " + WriteTemp("good.xml", std::string_view("\xFE\xFF\0<\0r\0/\0>", 10))).output, "\nwell-formed\n1 0 4 4 0 0 0x80000 0 0 0 1\n");
}

TEST(PlumetXmlToolTest, CharsetPrintsReadStepAndDeclared) {
  RunResult result = RunTool("charset " + WriteTemp("latin.xml", "<?xml encoding=\"latin1\"?><r>\xE9</r>"));
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output, "latin1\nlatin1\n");
  EXPECT_EQ(RunTool("charset " + WriteTemp("bom.xml", "\xEF\xBB\xBF<r/>")).output, "UTF-8\n\n");
}

TEST(PlumetXmlToolTest, SaveKeepsTheMarkItRead) {
  const std::string out = ::testing::TempDir() + "saved.xml";
  RunResult result = RunTool("save " + WriteTemp("in.xml", std::string_view("\xFF\xFE<\0r\0/\0>\0", 10)) + " " + out);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output, "UTF-16LE BOM + length 4 \n");
  EXPECT_EQ(FileBytes(out), Bytes(std::string_view("\xFF\xFE<\0r\0/\0>\0", 10)));
}

// A NUL used to end the text: "<a/>" alone was reported well-formed and
// the save wrote 4 of the 8 bytes.
TEST(PlumetXmlToolTest, TextAfterNulIsParsedAndSaved) {
  const std::string_view bytes("<a/>\0<b>", 8);
  const std::string in = WriteTemp("nul.xml", bytes);
  EXPECT_EQ(RunTool("parse " + in).output,
            "Root element has sibling\nnot well-formed\n"
            "1 0 4 4 0 0 0x80000 0 0 2 2\n"
            "2 5 3 3 0 0 0x100000 0 0 0 1\n");
  const std::string out = ::testing::TempDir() + "nul-saved.xml";
  EXPECT_EQ(RunTool("save " + in + " " + out).output, "UTF-8 length 8 from wide length 8 \n");
  EXPECT_EQ(FileBytes(out), Bytes(bytes));
}

// Files without a length to seek to are read to their end; a folder is
// refused with the system's reason (it used to say "File too large").
TEST(PlumetXmlToolTest, FoldersPipesAndProcFiles) {
  RunResult folder = RunTool("parse " + ::testing::TempDir(), true);
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_NE(folder.output.find("Is a directory"), std::string::npos) << folder.output;
  RunResult pipe = RunTool("parse /dev/stdin < /dev/null; printf '<r/>' | " + std::string(PLUMET_XML_TOOL) +
                           " parse /dev/stdin");
  EXPECT_EQ(pipe.output, "Empty document\nnot well-formed\n\nwell-formed\n1 0 4 4 0 0 0x80000 0 0 0 1\n");
  EXPECT_EQ(pipe.exitCode, 0);
  // /proc files report a length of 0 but have text.
  EXPECT_EQ(RunTool("parse /proc/self/status").output, "No root element\nnot well-formed\n");
}

TEST(PlumetXmlToolTest, ExitCodes) {
  EXPECT_EQ(RunTool("parse /nonexistent/file.xml").exitCode, 1);
  EXPECT_EQ(RunTool("").exitCode, 2);
  EXPECT_EQ(RunTool("parse").exitCode, 2);
  EXPECT_EQ(RunTool("frobnicate x").exitCode, 2);
  EXPECT_EQ(RunTool("save only-one-argument").exitCode, 2);
}

}  // namespace
