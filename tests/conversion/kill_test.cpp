// A conversion killed half-way must not leave a truncated TIFF under the final name, nor
// damage the TIFF that was there before; its hidden work file goes with the next
// conversion of the same target.
#include "conversion/pdf_converter.h"
#include "conversion/staged_file.h"
#include "pdf_fixture.h"
#include "temp_dir.h"
#include "tiff_probe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zq {
namespace {

namespace fs = std::filesystem;

pid_t startProbe(const fs::path& pdf, const fs::path& tif, int dpi) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const std::string a = pdf.string(), b = tif.string(), d = std::to_string(dpi);
        ::execl(ZQ_CONVERT_PROBE, ZQ_CONVERT_PROBE, a.c_str(), b.c_str(), d.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

// The size of the conversion's work file once it has grown past `bytes`, or -1 when the
// child ended first.
long waitForPartialOutput(const fs::path& dir, pid_t child, std::uintmax_t bytes) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string name = e.path().filename().string();
            std::error_code ec;
            const auto size = fs::file_size(e.path(), ec);
            if (name.rfind(".big.tif.", 0) == 0 && !ec && size > bytes) return static_cast<long>(size);
        }
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return -1;
}

// Starts the probe on a 40-page PDF at 300 dpi and kills it once its work file holds
// more than 200 KiB: well inside the conversion.
void killMidConversion(const test::TempDir& dir) {
    test::writeTextPdf(dir / "big.pdf", 40);
    const pid_t child = startProbe(dir / "big.pdf", dir / "big.tif", 300);
    ASSERT_GT(child, 0);
    const long partial = waitForPartialOutput(dir.path(), child, 200 * 1024);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_GT(partial, 0) << "the conversion ended before it could be killed";
    ASSERT_TRUE(WIFSIGNALED(status));
}

TEST(PdfConverterKill, KilledMidConversionLeavesNoTiffAndItsWorkFileGoesWithTheNextConversion) {
    test::TempDir dir;
    ASSERT_NO_FATAL_FAILURE(killMidConversion(dir));
    EXPECT_FALSE(fs::exists(dir / "big.tif"));
    EXPECT_TRUE(fs::exists(dir / "big.pdf"));

    std::vector<fs::path> leftovers;
    for (const auto& e : fs::directory_iterator(dir.path()))
        if (e.path().filename().string().rfind(".big.tif.", 0) == 0) leftovers.push_back(e.path());
    ASSERT_EQ(leftovers.size(), 1u);
    // Names close to the work file's, but not ones the converter makes for big.tif.
    const std::vector<std::string> others = {".big.tif.AB12", ".big.tif.AB12345", ".big.tif.AB-123",
                                             "big.tif.AB1234", ".bigtif.AB1234", ".big.tiff.AB1234",
                                             ".small.tif.AB1234"};
    for (const auto& name : others) std::ofstream(dir / name) << "altro";
    fs::create_directory(dir / ".big.tif.DIR123");
    test::writeTextPdf(dir / "small.pdf", 1);
    ConversionSettings s;
    s.dpi = 50;
    ASSERT_EQ(PdfConverter(s).convert(dir / "small.pdf", dir / "big.tif").pages, 1);

    EXPECT_FALSE(fs::exists(leftovers[0]));
    for (const auto& name : others) EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_TRUE(fs::is_directory(dir / ".big.tif.DIR123"));
}

TEST(PdfConverterKill, AWorkFileItsWriterStillHoldsIsKept) {
    test::TempDir dir;
    // Another conversion of the same target, half-way through its work file.
    StagedFile writing(dir / "big.tif");
    std::ofstream(writing.tempPath()) << "a metà";
    test::writeTextPdf(dir / "small.pdf", 1);
    ConversionSettings s;
    s.dpi = 50;
    ASSERT_EQ(PdfConverter(s).convert(dir / "small.pdf", dir / "big.tif").pages, 1);
    EXPECT_TRUE(fs::exists(writing.tempPath()));
    writing.commit();
    EXPECT_EQ(fs::file_size(dir / "big.tif"), std::string("a metà").size()) << "its rename still works";
}

TEST(PdfConverterKill, KilledMidConversionKeepsThePreviousTiff) {
    test::TempDir dir;
    // The probe left alone converts: its TIFF stands for the earlier one.
    test::writeTextPdf(dir / "small.pdf", 2);
    int status = 0;
    ::waitpid(startProbe(dir / "small.pdf", dir / "big.tif", 50), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(test::readTiffPages(dir / "big.tif").size(), 2u);

    ASSERT_NO_FATAL_FAILURE(killMidConversion(dir));
    EXPECT_EQ(test::readTiffPages(dir / "big.tif").size(), 2u) << "the earlier TIFF is intact";
}

}  // namespace
}  // namespace zq
