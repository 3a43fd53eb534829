#pragma once
// A program folder and a project folder in a temporary directory for command-line tests.

#include "app/CommandLine.h"
#include "app/OnlineCheckCommandLine.h"
#include "app/PublishCommandLine.h"
#include "core/settings/ProgramFolderPath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace stv::test
{

inline std::string ReadAll(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteAll(const std::filesystem::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

struct CliFixture : ::testing::Test {
    std::filesystem::path root;
    std::filesystem::path prog;
    std::ostringstream out;
    std::ostringstream err;
    LinkCheckLimits linkLimits; // tests shorten the time a link may take
    long transferSeconds = 0; // --publish's total limit of a transfer; 0: the default

    void SetUp() override
    {
        ::setenv("LC_ALL", "C", 1);
        ::setenv("TZ", "UTC", 1);
        ::setenv("SOURCE_DATE_EPOCH", "1796652309", 1);
        char pattern[] = "/tmp/stvcliXXXXXX";
        root = ::mkdtemp(pattern);
        prog = root / "prog";
        std::filesystem::create_directories(prog);
        setProgramFolderPath(prog.string());
    }
    void TearDown() override
    {
        setProgramFolderPath({});
        ::unsetenv("SOURCE_DATE_EPOCH");
        std::filesystem::remove_all(root);
    }
    // A copy of the sample project in root/proj, its lists in the program folder; the project.
    std::filesystem::path copySample(const std::filesystem::path &sampleFolder)
    {
        std::filesystem::copy(sampleFolder, root / "proj");
        for (const char *list : { "Sitorva.config", "StvColList", "StvLinkList", "StvImageList" })
            std::filesystem::copy_file(root / "proj" / list, prog / list);
        return root / "proj" / "sample.stv";
    }
    CliOutcome run(const std::vector<std::string> &args)
    {
        out.str({});
        err.str({});
        CliOutcome outcome = runCommandLine(args, out, err);
        // The program runs --publish from its module; the tests run the same command here.
        if (!outcome.projectToPublish.empty()) {
            PublishOptions options;
            options.dryRun = outcome.dryRun;
            options.allowPlainFtp = outcome.allowPlainFtp;
            options.transferSeconds = transferSeconds;
            outcome.exitCode = publishFromCommandLine(outcome.projectToPublish, options, out, err);
        }
        if (!outcome.projectToCheckOnline.empty())
            outcome.exitCode
                = checkOnlineFromCommandLine(outcome.projectToCheckOnline, out, err, linkLimits);
        return outcome;
    }
};

} // namespace stv::test
