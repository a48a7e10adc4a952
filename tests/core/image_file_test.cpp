#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "files/szt_file.h"
#include "image/memory_image.h"
#include "test_util.h"

namespace quorim {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(NewImage, HoldsTheDefaultsAndFfElsewhere) {
    const MemoryImage image = NewImage();
    const std::map<std::size_t, std::uint8_t> defaults = {
        {3, '7'}, {28, 0xFB},  {961, 4},    {962, 3},    {963, 2},    {965, 10},  {976, 0},
        {977, 0}, {978, 0xF4}, {980, 0x30}, {981, 0x31}, {982, 0x33}, {983, 0x50}};
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const auto it = defaults.find(i);
        EXPECT_EQ(image[i], it == defaults.end() ? 0xFF : it->second) << "byte " << i;
    }
}

TEST(ModelFlag, FollowsByteThreeAndTheNewDocumentRule) {
    DocumentData doc;
    EXPECT_TRUE(doc.m_bSixteenChannel);
    for (int b = 0; b < 256; ++b) {
        doc.m_image[3] = static_cast<std::uint8_t>(b);
        doc.SetModelFlagFromImage();
        EXPECT_EQ(doc.m_bSixteenChannel, b != '8') << b;
    }
    doc.m_bSixteenChannel = false;
    doc.OnNewDocument();
    EXPECT_EQ(doc.m_image[3], '8');
    EXPECT_FALSE(doc.m_bSixteenChannel);
    // No 16-channel settings where the 199-channel radio keeps channels 60 and 61.
    for (std::size_t i = kSettingsOffset; i < kSettingsOffset + kSettingsSize; ++i) {
        EXPECT_EQ(doc.m_image[i], 0xFF) << "byte " << i;
    }
}

TEST(SztFile, SaveThenLoadGivesTheSameBytesAndExactLength) {
    TempDir dir;
    MemoryImage image{};
    for (std::size_t i = 0; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(i * 7);
    const std::string path = dir.File("radio.szt");
    ASSERT_TRUE(SaveSztFile(path, image).Ok());
    EXPECT_EQ(std::filesystem::file_size(path), kImageSize);
    MemoryImage loaded{};
    ASSERT_TRUE(LoadSztFile(path, loaded).Ok());
    EXPECT_EQ(loaded, image);
    // Nothing else left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(SztFile, LengthRules) {
    TempDir dir;
    MemoryImage image;
    image.fill(0x11);

    WriteBytes(dir.File("short.szt"), std::vector<unsigned char>(3215, 0xAB));
    const FileStatus shortStatus = LoadSztFile(dir.File("short.szt"), image);
    EXPECT_EQ(shortStatus.error, FileError::TooShort);
    EXPECT_EQ(shortStatus.size, 3215u);
    EXPECT_NE(shortStatus.Message().find("short.szt"), std::string::npos);
    EXPECT_NE(shortStatus.Message().find("3215"), std::string::npos);
    EXPECT_EQ(image[0], 0x11) << "a refused file must not touch the image";

    WriteBytes(dir.File("empty.szt"), {});
    EXPECT_EQ(LoadSztFile(dir.File("empty.szt"), image).error, FileError::TooShort);

    std::vector<unsigned char> longer(4000);
    for (std::size_t i = 0; i < longer.size(); ++i) longer[i] = static_cast<unsigned char>(i % 251);
    WriteBytes(dir.File("long.szt"), longer);
    ASSERT_TRUE(LoadSztFile(dir.File("long.szt"), image).Ok());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), longer.begin()));

    EXPECT_EQ(LoadSztFile(dir.File("missing.szt"), image).error, FileError::CannotOpen);
    EXPECT_EQ(LoadSztFile(dir.Path().string(), image).error, FileError::CannotOpen);
}

TEST(SztFile, FailedSaveKeepsThePreviousFile) {
    TempDir dir;
    MemoryImage first;
    first.fill(0x01);
    const std::string path = dir.File("keep.szt");
    ASSERT_TRUE(SaveSztFile(path, first).Ok());

    // A folder where the file should go cannot be replaced.
    std::filesystem::create_directory(dir.File("folder.szt"));
    MemoryImage second;
    second.fill(0x02);
    EXPECT_EQ(SaveSztFile(dir.File("folder.szt"), second).error, FileError::WriteFailed);

    // A folder that does not exist: nothing written, nothing left behind.
    const FileStatus status = SaveSztFile(dir.File("no/such/dir.szt"), second);
    EXPECT_EQ(status.error, FileError::WriteFailed);
    EXPECT_NE(status.Message().find("dir.szt"), std::string::npos);

    // A read-only folder (root ignores permissions, so only check when it bites).
    std::filesystem::permissions(dir.Path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const FileStatus ro = SaveSztFile(path, second);
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    if (!ro.Ok()) {
        EXPECT_EQ(ReadBytes(path), std::vector<unsigned char>(first.begin(), first.end()));
    }
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"keep.szt", "folder.szt"}));
}

TEST(SztFile, WhatIsNotAMemoryImageIsToldWithItsReason) {
    using namespace std::string_view_literals;
    const std::string image(reinterpret_cast<const char*>(NewImage().data()), kImageSize);
    const auto with = [&](std::string_view head, std::size_t size = kImageSize) {
        std::string bytes = image;
        bytes.replace(0, head.size(), head);
        bytes.resize(size, '\xFF');
        return bytes;
    };
    const struct {
        std::string bytes;
        ImageDoubt doubt;
    } cases[] = {
        {image, ImageDoubt::None},
        {with("\0\0\xEE"
              "8"sv),
         ImageDoubt::None},
        {with("MZ\xEE"
              "7"),
         ImageDoubt::None},  // free bytes that spell a program's mark
        {with("\xFF\xFF\xFF"
              "9"),
         ImageDoubt::UnknownModelCode},
        {with("", 4000), ImageDoubt::NotImageSize},
        {with("%PDF-1.4\n"), ImageDoubt::PdfDocument},
        {with("\x7F"
              "ELF\x02\x01",
              20000),
         ImageDoubt::ProgramFile},
        {with("MZ\x90\x00"sv), ImageDoubt::ProgramFile},
        {with("#!/bin/sh\n"), ImageDoubt::ProgramFile},
        {with("\xEF\xBB\xBF信道,接收频率,发射频率\r\n", 13000), ImageDoubt::CsvText},
        {with("Location,Name,Frequency\n"), ImageDoubt::CsvText},
        {with("Location Name\n"), ImageDoubt::UnknownModelCode},  // no comma: not a CSV header
    };
    TempDir dir;
    for (const auto& c : cases) {
        const bool longer = c.bytes.size() > kImageSize;
        EXPECT_EQ(ClassifyImageFile(std::string_view(c.bytes).substr(0, kImageSize), longer), c.doubt)
            << c.bytes.substr(0, 8);
        // Loading tells the same and still takes the first 3216 bytes.
        test::WriteText(dir.File("f"), c.bytes);
        MemoryImage loaded{};
        const FileStatus status = LoadSztFile(dir.File("f"), loaded);
        ASSERT_TRUE(status.Ok());
        EXPECT_EQ(status.doubt, c.doubt) << c.bytes.substr(0, 8);
        EXPECT_EQ(std::string(loaded.begin(), loaded.end()), c.bytes.substr(0, kImageSize));
        EXPECT_EQ(status.DoubtMessage().empty(), c.doubt == ImageDoubt::None);
    }
}

}  // namespace
}  // namespace quorim
