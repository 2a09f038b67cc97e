#include "app/program_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(ProgramFolder, ExecutableFolderUnlessTheVariableNamesAnother) {
    ::unsetenv(kHomeVariable);
    EXPECT_EQ(programFolder(), executableFolder());
    EXPECT_TRUE(std::filesystem::exists(executableFolder() / "zq_program_folder_test"));

    ::setenv(kHomeVariable, "/srv/quirnova", 1);
    EXPECT_EQ(programFolder(), std::filesystem::path("/srv/quirnova"));
    ::setenv(kHomeVariable, "", 1);  // empty: as if unset
    EXPECT_EQ(programFolder(), executableFolder());
    ::unsetenv(kHomeVariable);
}

}  // namespace
}  // namespace zq
