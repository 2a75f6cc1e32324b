#include "book/sha256.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

namespace vexmar::book {
namespace {

std::string Hex(std::string_view bytes) {
  return ToHex(Sha256Of(bytes));
}

TEST(Sha256, MatchesTheStandardsTestVectors) {
  EXPECT_EQ(Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Hex("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopq"
                "klmnopqrlmnopqrsmnopqrstnopqrstu"),
            "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
  Sha256 million;
  const std::string thousand(1000, 'a');
  for (int i = 0; i < 1000; ++i) million.Update(thousand);
  EXPECT_EQ(ToHex(million.Finish()),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// Random data cut into random pieces hashes as it does whole, and as
// python's hashlib hashes it; the lengths cross every padding boundary.
TEST(Sha256, AgreesWithHashlibOnRandomDataFedInPieces) {
  std::mt19937 random(20261208);
  std::string all;
  std::string expected;
  for (const size_t size : {1u, 55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000u, 300000u}) {
    std::string data(size, '\0');
    for (char& c : data) c = static_cast<char>(random());
    Sha256 pieces;
    for (size_t at = 0; at < size;) {
      const size_t piece = std::min<size_t>(size - at, random() % 150);
      pieces.Update(data.data() + at, piece);
      at += piece;
    }
    const std::string hex = ToHex(pieces.Finish());
    EXPECT_EQ(hex, Hex(data)) << size;
    all += data;
    expected += hex + "\n";
  }
#ifdef _WIN32
  GTEST_SKIP() << "python3 is run from the native suites";
#else
  const std::string path = testing::TempDir() + "sha256_random.bin";
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(all.data(), 1, all.size(), file), all.size());
  std::fclose(file);
  const std::string command =
      "python3 -c \"import hashlib,sys\nd=open(sys.argv[1],'rb').read()\nat=0\n"
      "for n in (1,55,56,63,64,65,119,120,1000,300000):\n"
      " print(hashlib.sha256(d[at:at+n]).hexdigest()); at+=n\" " +
      path;
  FILE* python = popen(command.c_str(), "r");
  ASSERT_NE(python, nullptr);
  std::string printed;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, python) != nullptr) printed += buffer;
  EXPECT_EQ(pclose(python), 0);
  std::remove(path.c_str());
  EXPECT_EQ(printed, expected);
#endif
}

}  // namespace
}  // namespace vexmar::book
