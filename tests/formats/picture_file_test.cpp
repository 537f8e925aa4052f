#include "formats/picture_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "formats/bmp_writer.h"
#include "formats/byte_sink.h"
#include "gif_test_support.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_text(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A fresh directory per test, removed afterwards.
class PictureFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kv_formats_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Only the named files, so a leftover temporary file shows up.
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

TEST(PictureFormatForPath, GifOnlyWhenTheLastExtensionStartsWithGif) {
  struct Case { const char* path; PictureFormat format; };
  const Case cases[] = {
      {"graph.gif", PictureFormat::Gif},      {"graph.GIF", PictureFormat::Gif},
      {"graph.Gif", PictureFormat::Gif},      {"graph.gifx", PictureFormat::Gif},
      {"a.bmp.gif", PictureFormat::Gif},      {"graph.bmp", PictureFormat::Bmp},
      {"graph.png", PictureFormat::Bmp},      {"graph.gi", PictureFormat::Bmp},
      {"graph", PictureFormat::Bmp},          {"graph.", PictureFormat::Bmp},
      {"a.gif.bmp", PictureFormat::Bmp},      {"/tmp/x.gif/graph", PictureFormat::Gif},
      {"", PictureFormat::Bmp},
  };
  for (const Case& c : cases) EXPECT_EQ(picture_format_for_path(c.path), c.format) << c.path;
}

TEST(WindowPictureKind, PngAndSvgOnlyAsTheWholeLastExtension) {
  struct Case { const char* path; PictureKind kind; };
  const Case cases[] = {
      {"graph.png", PictureKind::Png},        {"graph.PNG", PictureKind::Png},
      {"graph.Svg", PictureKind::Svg},        {"graph.pngx", PictureKind::Bmp},
      {"graph.svg.bmp", PictureKind::Bmp},    {"/tmp/x.png/graph", PictureKind::Bmp},
      {"/tmp/x.svg/graph.gifx", PictureKind::Gif},  {"graph", PictureKind::Bmp},
  };
  for (const Case& c : cases) EXPECT_EQ(window_picture_kind(c.path), c.kind) << c.path;
}

TEST_F(PictureFile, WritesTheFormatTheNameChooses) {
  const RgbImage image = test::make_noise(21, 13, 7, 1);
  ASSERT_TRUE(save_picture_file((dir_ / "a.GIF").string(), image));
  ASSERT_TRUE(save_picture_file((dir_ / "a.bmp").string(), image));
  const std::string gif = read_file(dir_ / "a.GIF");
  EXPECT_EQ(gif.substr(0, 6), "GIF87a");
  const test::DecodedGif decoded = test::decode_with_giflib(std::vector<uint8_t>(gif.begin(), gif.end()));
  ASSERT_TRUE(decoded.ok);
  EXPECT_TRUE(decoded.pixels == image.pixels);
  const std::string bmp = read_file(dir_ / "a.bmp");
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(bmp.size(), 54 + bmp_row_bytes(21) * 13);
  EXPECT_EQ(entries(), (std::vector<std::string>{"a.GIF", "a.bmp"}));
}

TEST_F(PictureFile, ReplacesAnExistingFileAndKeepsItsPermissions) {
  const fs::path target = dir_ / "old.gif";
  write_text(target, "old contents");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_TRUE(save_picture_file(target.string(), test::make_image(3, 3)));
  EXPECT_EQ(read_file(target).substr(0, 6), "GIF87a");
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(entries(), std::vector<std::string>{"old.gif"});
}

// A failed save never destroys what was there, and leaves no temporary file.
TEST_F(PictureFile, FailedSaveLeavesTheExistingFileIntact) {
  const fs::path target = dir_ / "keep.bmp";
  write_text(target, "precious");

  EXPECT_FALSE(save_picture_file(target.string(), RgbImage{}));
  EXPECT_FALSE(save_picture_file(target.string(), RgbImage{2, 2, {1, 2, 3}}));
  EXPECT_FALSE(write_file_replacing(target.string(), [](ByteSink& sink) {
    sink.write("half a picture", 14);
    return false;  // the encoder failed part-way
  }));
  EXPECT_EQ(read_file(target), "precious");
  EXPECT_EQ(entries(), std::vector<std::string>{"keep.bmp"});
}

TEST_F(PictureFile, FailsWhenTheTargetCannotBeReplaced) {
  fs::create_directory(dir_ / "taken.gif");
  write_text(dir_ / "taken.gif" / "inside", "x");
  EXPECT_FALSE(save_picture_file((dir_ / "taken.gif").string(), test::make_image(2, 2)));
  EXPECT_EQ(read_file(dir_ / "taken.gif" / "inside"), "x");
  EXPECT_FALSE(save_picture_file((dir_ / "missing" / "a.gif").string(), test::make_image(2, 2)));
  EXPECT_FALSE(save_picture_file("", test::make_image(2, 2)));
  EXPECT_EQ(entries(), std::vector<std::string>{"taken.gif"});
}

TEST_F(PictureFile, SavingThroughASymbolicLinkUpdatesTheLinkedFile) {
  write_text(dir_ / "real.bmp", "old");
  fs::create_symlink("real.bmp", dir_ / "link.bmp");
  ASSERT_TRUE(save_picture_file((dir_ / "link.bmp").string(), test::make_image(2, 2)));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.bmp"));
  EXPECT_EQ(read_file(dir_ / "real.bmp").substr(0, 2), "BM");
  // A dangling link names the file to create; a loop of links is refused.
  fs::create_symlink("new.gif", dir_ / "dangling.gif");
  ASSERT_TRUE(save_picture_file((dir_ / "dangling.gif").string(), test::make_image(2, 2)));
  EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.gif"));
  EXPECT_EQ(read_file(dir_ / "new.gif").substr(0, 6), "GIF87a");
  fs::create_symlink("loop2", dir_ / "loop1");
  fs::create_symlink("loop1", dir_ / "loop2");
  EXPECT_FALSE(save_picture_file((dir_ / "loop1").string(), test::make_image(2, 2)));
}

// Replacing a FIFO or a device node would turn it into a plain file; they
// are written in place instead, and a write that fails is reported.
TEST_F(PictureFile, FifosAndDevicesAreWrittenInPlace) {
  auto write_text_to = [](const fs::path& p, const std::string& text) {
    return write_file_replacing(p.string(), [&](ByteSink& sink) {
      return sink.write(text.data(), text.size());
    });
  };
  const fs::path fifo = dir_ / "pipe.gif";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_TRUE(write_text_to(fifo, "picture"));
  char got[16] = {};
  EXPECT_EQ(::read(reader, got, sizeof got), 7);
  EXPECT_STREQ(got, "picture");
  ::close(reader);
  EXPECT_TRUE(fs::is_fifo(fifo));

  // Copies of /dev/null and /dev/full, so that a fault cannot touch the real ones.
  const fs::path null_dev = dir_ / "null", full_dev = dir_ / "full";
  if (::mknod(null_dev.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
      ::mknod(full_dev.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
    GTEST_SKIP() << "no permission to make device nodes";
  }
  EXPECT_TRUE(write_text_to(null_dev, "picture"));
  EXPECT_FALSE(write_text_to(full_dev, "picture"));
  EXPECT_TRUE(fs::is_character_file(null_dev));
  EXPECT_TRUE(fs::is_character_file(full_dev));
  EXPECT_EQ(entries(), (std::vector<std::string>{"full", "null", "pipe.gif"}));
}

// The temporary name must not grow with the target's name.
TEST_F(PictureFile, SavesUnderANameAtTheLengthLimit) {
  const std::string name = std::string(251, 'n') + ".gif";  // 255 bytes, the usual limit
  ASSERT_TRUE(save_picture_file((dir_ / name).string(), test::make_image(2, 2)));
  EXPECT_EQ(entries(), std::vector<std::string>{name});
}

TEST(MemorySink, CollectsEveryWrite) {
  MemorySink sink;
  EXPECT_TRUE(sink.write("ab", 2));
  EXPECT_TRUE(sink.write("", 0));
  EXPECT_TRUE(sink.write("c", 1));
  EXPECT_EQ(std::string(sink.bytes.begin(), sink.bytes.end()), "abc");
}

// Writes larger than the file buffer take the direct path; all must arrive in order.
TEST_F(PictureFile, LargeAndSmallWritesArriveInOrder) {
  std::string expected;
  const fs::path target = dir_ / "mixed.bin";
  ASSERT_TRUE(write_file_replacing(target.string(), [&](ByteSink& sink) {
    for (size_t size : {size_t{3}, size_t{70000}, size_t{1}, size_t{65536}, size_t{200000}, size_t{7}}) {
      std::string chunk(size, char('a' + expected.size() % 26));
      expected += chunk;
      if (!sink.write(chunk.data(), chunk.size())) return false;
    }
    return true;
  }));
  EXPECT_TRUE(read_file(target) == expected);
}

}  // namespace
}  // namespace kv
