#pragma once
// A folder of its own for each test, named after the test and removed at its end
// (kept after a failure when asked, to look at what the test left); while it lives
// it can be the working folder, as the start folder of a window or a run.
#include <filesystem>
#include <string>
#include <system_error>

#include <gtest/gtest.h>
#include <unistd.h>

namespace veltra::test {

class TScratchFolder {
public:
    explicit TScratchFolder(const std::string& prefix, bool enter = false)
    {
        std::string name = prefix + "-" + std::to_string(::getpid());
        if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
            name += std::string("-") + info->test_suite_name() + "-" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_'; // parameterised tests
        Dir = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(Dir);
        std::filesystem::create_directories(Dir);
        Dir = std::filesystem::canonical(Dir);
        if (enter) {
            old_ = std::filesystem::current_path();
            std::filesystem::current_path(Dir);
        }
    }
    ~TScratchFolder()
    {
        std::error_code ec;
        if (!old_.empty())
            std::filesystem::current_path(old_, ec);
        if (!(KeepAfterFailure && ::testing::Test::HasFailure()))
            std::filesystem::remove_all(Dir, ec);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    std::string Path(const std::string& name) const { return (Dir / name).string(); }

    std::filesystem::path Dir;
    bool KeepAfterFailure = false;

private:
    std::filesystem::path old_;
};

} // namespace veltra::test
