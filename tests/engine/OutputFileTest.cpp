// A file named for a result: a regular one is replaced, anything else already there is
// written in place and stays what it was, and a FIFO never holds the writer for ever.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <future>
#include <string>

#include "engine/OutputFile.h"
#include "tests/support/FileTestSupport.h"

namespace ferrox::testing {
namespace {

namespace fs = std::filesystem;

class OutputFile : public ::testing::Test {
 protected:
  OutputFile() { EXPECT_EQ(::mkfifo(fifo_.c_str(), 0600), 0); }

  bool StillAFifo() const { return fs::is_fifo(fs::symlink_status(fifo_)); }
  // Reads the FIFO as a reader program would: everything, or the first `most` bytes.
  std::future<std::string> Reader(std::size_t most = std::string::npos) const {
    return std::async(std::launch::async, [path = fifo_, most] {
      const int fd = ::open(path.c_str(), O_RDONLY);  // waits for the writer
      std::string got;
      char buffer[4096];
      for (ssize_t n; got.size() < most && (n = ::read(fd, buffer, sizeof buffer)) > 0;) got.append(buffer, n);
      ::close(fd);
      return got;
    });
  }

  ScratchFolder dir_{"output"};
  fs::path fifo_ = dir_ / "fifo";
  std::string error_;
};

TEST_F(OutputFile, AFifoWithoutAReaderIsAnErrorAtOnceAndStaysAFifo) {
  EXPECT_FALSE(WriteOutputFile(fifo_, "text\r\n", error_));
  EXPECT_EQ(error_, "it is a FIFO and no program is reading it");
  EXPECT_TRUE(StillAFifo());
}

TEST_F(OutputFile, AFifoWithAReaderGetsTheBytesInPlace) {
  auto reader = Reader();
  const std::string bytes(200'000, 'x');  // more than a pipe holds: written as it is read
  // The reader may not have opened yet: the writer then finds none, as it should.
  bool written = false;
  for (int attempt = 0; attempt < 500 && !written; ++attempt) {
    written = WriteOutputFile(fifo_, bytes, error_);
    if (!written) ::usleep(10'000);
  }
  ASSERT_TRUE(written) << error_;
  EXPECT_EQ(reader.get(), bytes);
  EXPECT_TRUE(StillAFifo());

  const fs::path link = dir_ / "link.hmp";
  fs::create_symlink(fifo_, link);
  EXPECT_FALSE(WriteOutputFile(link, "x", error_)) << "through the link to the FIFO, which has no reader";
  EXPECT_TRUE(fs::is_symlink(link)) << "the link is not replaced either";
}

TEST_F(OutputFile, AReaderThatLeavesMidWayIsAnErrorNotTheEndOfTheProgram) {
  auto reader = Reader(10);
  const std::string bytes(1 << 20, 'x');
  bool written = true;
  std::string error;
  for (int attempt = 0; attempt < 500; ++attempt) {
    written = WriteOutputFile(fifo_, bytes, error);
    if (error != "it is a FIFO and no program is reading it") break;
    ::usleep(10'000);
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(error, "the reader closed it before the end");
  const std::size_t read = reader.get().size();
  EXPECT_GE(read, 10u);
  EXPECT_LT(read, bytes.size());
}

TEST_F(OutputFile, AFolderIsRefusedAndARegularFileReplaced) {
  EXPECT_FALSE(WriteOutputFile(dir_.path(), "x", error_));
  EXPECT_EQ(error_, "Is a directory");
  EXPECT_TRUE(fs::is_directory(dir_.path()));
  const fs::path file = dir_ / "x.hmp";
  ASSERT_TRUE(WriteOutputFile(file, "a longer first text", error_)) << error_;
  ASSERT_TRUE(WriteOutputFile(file, "second", error_)) << error_;
  EXPECT_EQ(fs::file_size(file), 6u) << "replaced whole, not written over in place";
}

}  // namespace
}  // namespace ferrox::testing
