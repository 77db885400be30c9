#pragma once
// Running the command-line tool from a test: arguments in, exit code, stdout and stderr out.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

namespace ferrox::testing {

struct Output {
  int exitCode = -1;
  std::string out, err;
  nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// stderrTo: where stderr goes instead of into Output::err.
inline Output RunCli(const std::string& args, const std::string& stderrTo = "") {
  const auto dir = std::filesystem::temp_directory_path();
  const auto out = dir / ("ferrox_cli_out_" + std::to_string(::getpid()));
  const auto err = dir / ("ferrox_cli_err_" + std::to_string(::getpid()));
  const std::string command = std::string(FERROX_BIN_DIR) + "/ferrox6plus-cli " + args + " >" +
                              out.string() + " 2>" + (stderrTo.empty() ? err.string() : stderrTo);
  const int status = std::system(command.c_str());
  Output result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return result;
}

// A refusal: exit code 2, nothing on stdout, one line on stderr; returns that line.
inline std::string Refusal(const std::string& args) {
  const Output o = RunCli(args);
  EXPECT_EQ(o.exitCode, 2) << args;
  EXPECT_TRUE(o.out.empty()) << args << ": " << o.out;
  EXPECT_FALSE(o.err.empty()) << args;
  EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << args << ": " << o.err;
  return o.err;
}

inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace ferrox::testing
