// Publishing the sample page to plain FTP (pyftpdlib), FTPS (vsftpd) and SFTP (sshd).
#include "support/FtpTestServer.h"
#include "support/ScriptServer.h"

#include "core/files/FileIO.h"
#include "core/page/PageGenerator.h"
#include "core/settings/Config.h"
#include "core/upload/PageFiles.h"
#include "core/upload/PublishManifest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

using namespace stv;
using namespace stv::test;
namespace fs = std::filesystem;

namespace
{

const std::string SampleDir = STV_SAMPLE_DIR;

struct SamplePage {
    Project project;
    FavouriteLists lists;
    PageOptions options;
    PageRequest pageRequest;
    PublishRequest request;
};

// The sample project's page written into folder with the pictures and sounds beside it.
SamplePage MakeSamplePage(const std::string &folder)
{
    SamplePage s;
    Configuration config;
    EXPECT_TRUE(loadConfiguration(SampleDir + "/", config, s.lists).ok());
    s.options = config.pageOptions;
    EXPECT_TRUE(loadProjectFile(SampleDir + "/sample.stv", s.project).ok());
    s.pageRequest.importRequested = true;
    s.pageRequest.pageFile = folder + "/index.html";
    s.pageRequest.sourceFolder = SampleDir;
    DiskCopier disk;
    RecordingCopier recorder(&disk);
    EXPECT_TRUE(writePageFile(s.project, s.lists, s.options, s.pageRequest, recorder).ok());
    s.request = publishRequestFor(s.pageRequest.pageFile, recorder, {});
    return s;
}

std::string TempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "stv-publish-XXXXXX").string();
    return ::mkdtemp(pattern.data());
}

enum class Kind { Ftp, Ftps, Sftp };

// A server and the folder the page goes into, with what each kind of server records.
struct Site {
    std::unique_ptr<FtpTestServer> ftp;
    std::unique_ptr<FtpsTestServer> ftps;
    std::unique_ptr<SftpTestServer> sftp;
    std::unique_ptr<ScopedEnv> env;
    std::string host, user, password, dir, folder, error;

    explicit Site(Kind kind, const ServerOptions &options = {})
    {
        if (kind == Kind::Ftp) {
            ftp = std::make_unique<FtpTestServer>(options);
            error = ftp->startError();
            ftp->makeFolder("site");
            host = ftp->host();
            user = FtpTestServer::User;
            password = FtpTestServer::password;
            dir = "site";
            folder = ftp->home() + "/site";
        } else if (kind == Kind::Ftps) {
            ftps = std::make_unique<FtpsTestServer>();
            error = ftps->startError();
            env = std::make_unique<ScopedEnv>("SSL_CERT_FILE", ftps->ca());
            host = ftps->host();
            user = FtpsTestServer::User;
            password = FtpsTestServer::Password;
            dir = "upload";
            folder = ftps->folder();
        } else {
            sftp = std::make_unique<SftpTestServer>(std::vector<std::string> { "--request-log" });
            error = sftp->startError();
            env = std::make_unique<ScopedEnv>("HOME", sftp->home());
            fs::create_directories(sftp->folder() + "/site");
            host = sftp->host();
            user = sftp->user();
            dir = "site";
            folder = sftp->folder() + "/site";
        }
    }

    // What reached the server, in order: "send NAME" and "rename FROM TO".
    std::vector<std::string> events() const
    {
        std::vector<std::string> out;
        if (sftp) {
            for (const std::string &r : sftp->requests()) {
                if (r.rfind("open \"", 0) == 0 && r.find("WRITE") != std::string::npos)
                    out.push_back(
                        "send " + fs::path(r.substr(6, r.find('"', 6) - 6)).filename().string());
                if (r.rfind("rename old \"", 0) == 0) {
                    const std::size_t oldEnd = r.find('"', 12);
                    const std::size_t newStart = r.find('"', oldEnd + 1) + 1;
                    out.push_back("rename "
                        + fs::path(r.substr(12, oldEnd - 12)).filename().string() + " "
                        + fs::path(r.substr(newStart, r.find('"', newStart) - newStart))
                              .filename()
                              .string());
                }
            }
            return out;
        }
        std::string from;
        for (const std::string &c : ftp ? ftp->commands() : ftps->commands()) {
            if (c.rfind("STOR ", 0) == 0)
                out.push_back("send " + c.substr(5));
            else if (c.rfind("RNFR ", 0) == 0)
                from = c.substr(5);
            else if (c.rfind("RNTO ", 0) == 0)
                out.push_back("rename " + from + " " + c.substr(5));
        }
        return out;
    }

    PublishReport publish(const PublishRequest &request, const FtpLimits &limits = {})
    {
        FtpClient client;
        client.setLimits(limits);
        const FtpOutcome login = client.login(host, user, password);
        EXPECT_TRUE(login.ok) << login.error;
        const FtpOutcome cd = client.changeDirectory(dir);
        EXPECT_TRUE(cd.ok) << cd.error;
        return publishPage(client, request);
    }
};

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

long CountPrefix(const std::vector<std::string> &v, const std::string &prefix)
{
    return std::count_if(
        v.begin(), v.end(), [&](const std::string &s) { return s.rfind(prefix, 0) == 0; });
}

} // namespace

class PublishSample : public ::testing::TestWithParam<Kind>
{
};

TEST_P(PublishSample, SendsWhatChangedAndThePageLastUnderATemporaryName)
{
    if (GetParam() == Kind::Ftps && !CanRunVsftpd())
        GTEST_SKIP() << VsftpdNeedsRoot;
    Site site(GetParam());
    ASSERT_EQ(site.error, "");
    const std::string local = TempFolder();
    SamplePage sample = MakeSamplePage(local);
    const std::vector<std::string> files = { "background.png", "chime.wav", "hills.png",
        "index.html", "sitorva-logo.png", "star.png" };

    // First publish: everything, byte for byte.
    PublishReport report = site.publish(sample.request);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_TRUE(report.failed.empty()) << publishReportText(report);
    EXPECT_EQ(Sorted(report.uploaded), files);
    EXPECT_EQ(publishCounts(report), "6 uploaded, 0 unchanged, 0 failed");
    for (const std::string &name : files)
        EXPECT_EQ(ReadFileBytes(site.folder + "/" + name), ReadFileBytes(local + "/" + name))
            << name;
    EXPECT_FALSE(fs::exists(site.folder + "/" + temporaryName("index.html")));
    EXPECT_TRUE(report.recordWritten);

    // Visitors never see a page without its files or half-written: the page is sent under
    // another name after every file, then renamed, and the record comes last.
    std::vector<std::string> events = site.events();
    ASSERT_GE(events.size(), 8u);
    EXPECT_EQ(events[events.size() - 3], "send " + temporaryName("index.html"));
    EXPECT_EQ(events[events.size() - 2], "rename " + temporaryName("index.html") + " index.html");
    EXPECT_EQ(events.back(), std::string("send ") + ManifestName);
    EXPECT_EQ(CountPrefix(events, "send index.html"), 0);

    // Nothing changed: nothing is sent, not even the record.
    report = site.publish(sample.request);
    EXPECT_EQ(publishCounts(report), "0 uploaded, 6 unchanged, 0 failed");
    EXPECT_EQ(CountPrefix(site.events(), "send"), CountPrefix(events, "send"));

    // One changed picture: that picture and the record.
    WriteFileBytes(local + "/hills.png", "a new picture");
    report = site.publish(sample.request);
    EXPECT_EQ(report.uploaded, std::vector<std::string> { "hills.png" });
    EXPECT_EQ(CountPrefix(site.events(), "send"), CountPrefix(events, "send") + 2);
    EXPECT_EQ(ReadFileBytes(site.folder + "/hills.png"), "a new picture");

    // A file deleted on the server (by someone else) is sent again.
    fs::remove(site.folder + "/star.png");
    report = site.publish(sample.request);
    EXPECT_EQ(report.uploaded, std::vector<std::string> { "star.png" });
    EXPECT_EQ(ReadFileBytes(site.folder + "/star.png"), ReadFileBytes(local + "/star.png"));
    fs::remove_all(local);
}

INSTANTIATE_TEST_SUITE_P(Protocols, PublishSample,
    ::testing::Values(Kind::Ftp, Kind::Ftps, Kind::Sftp), [](const auto &info) {
        return std::string(info.param == Kind::Ftp ? "Ftp"
                : info.param == Kind::Ftps         ? "Ftps"
                                                   : "Sftp");
    });

TEST(Publish, AFileChangedByOthersOrARecordOfOthersIsNoticed)
{
    Site site(Kind::Ftp);
    ASSERT_EQ(site.error, "");
    const std::string local = TempFolder();
    const SamplePage sample = MakeSamplePage(local);
    ASSERT_TRUE(site.publish(sample.request).ok);

    // The page created again, unchanged but for its "Site Last Updated" time, is not sent.
    SamplePage again = MakeSamplePage(local);
    again.pageRequest.when.year = 2031;
    DiskCopier disk;
    ASSERT_TRUE(
        writePageFile(again.project, again.lists, again.options, again.pageRequest, disk).ok());
    EXPECT_EQ(publishCounts(site.publish(
                  publishRequestFor(again.pageRequest.pageFile, RecordingCopier(), {}))),
        "0 uploaded, 1 unchanged, 0 failed");

    // Someone replaced a picture with another size; a dry run says so and sends nothing.
    site.ftp->writeFile("site/hills.png", "someone else's picture");
    PublishRequest dry = sample.request;
    dry.dryRun = true;
    site.ftp->clearCommands();
    PublishReport report = site.publish(dry);
    EXPECT_EQ(report.uploaded, std::vector<std::string> { "hills.png" });
    EXPECT_EQ(report.unchanged.size(), 5u);
    EXPECT_EQ(CountPrefix(site.ftp->commands(), "STOR"), 0);

    // A record that is not ours is ignored: everything is sent.
    site.ftp->writeFile(std::string("site/") + ManifestName, "my own notes\n");
    report = site.publish(sample.request);
    EXPECT_EQ(report.uploaded.size(), 6u);
    fs::remove_all(local);
}

TEST(Publish, AServerThatRefusesRenamesGetsThePageDirectlyWithANote)
{
    ServerOptions options;
    options.noRename = true;
    Site site(Kind::Ftp, options);
    ASSERT_EQ(site.error, "");
    const std::string local = TempFolder();
    const SamplePage sample = MakeSamplePage(local);
    const PublishReport report = site.publish(sample.request);
    EXPECT_EQ(publishCounts(report), "6 uploaded, 0 unchanged, 0 failed");
    ASSERT_EQ(report.notes.size(), 1u);
    EXPECT_NE(report.notes[0].find("refused to rename"), std::string::npos) << report.notes[0];
    EXPECT_EQ(ReadFileBytes(site.folder + "/index.html"), ReadFileBytes(local + "/index.html"));
    EXPECT_FALSE(fs::exists(site.folder + "/" + temporaryName("index.html")));
    fs::remove_all(local);
}

TEST(Publish, APageWhosePictureFailedIsHeldBackAndTheFailuresNamed)
{
    ServerOptions options;
    options.refuse = { "hills.png" };
    Site site(Kind::Ftp, options);
    ASSERT_EQ(site.error, "");
    const std::string local = TempFolder();
    SamplePage sample = MakeSamplePage(local);
    fs::remove(local + "/chime.wav");
    const PublishReport report = site.publish(sample.request);
    EXPECT_EQ(publishCounts(report), "3 uploaded, 0 unchanged, 3 failed");
    const std::string text = publishReportText(report);
    EXPECT_NE(
        text.find("hills.png: the server refused it (the server said: 550"), std::string::npos)
        << text;
    EXPECT_NE(text.find("chime.wav: the file could not be read"), std::string::npos) << text;
    EXPECT_NE(text.find("index.html: not sent"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(site.folder + "/index.html"));
    // What arrived is recorded, so the next publish sends only the rest.
    const Manifest record = parseManifest(ReadFileBytes(site.folder + "/" + ManifestName));
    EXPECT_EQ(record.size(), 3u);
    EXPECT_EQ(record.count("hills.png"), 0u);
    fs::remove_all(local);
}

TEST(PageFiles, ThePageOnDiskIsCheckedAgainstTheProject)
{
    const std::string local = TempFolder();
    SamplePage s = MakeSamplePage(local);
    s.pageRequest.when.minute = 59; // another generation time is no change
    PageCheck check = checkCreatedPage(s.project, s.lists, s.options, s.pageRequest, {});
    EXPECT_TRUE(check.upToDate) << check.reason;
    EXPECT_EQ(check.request.files.size(), 5u);
    EXPECT_EQ(check.request.page.remoteName, "index.html");

    Project changed = s.project;
    changed.pageTitle = "Another title";
    check = checkCreatedPage(changed, s.lists, s.options, s.pageRequest, {});
    EXPECT_FALSE(check.upToDate);
    EXPECT_EQ(check.reason, "The project has changes that are not in the web page yet.");

    fs::remove(local + "/star.png");
    check = checkCreatedPage(s.project, s.lists, s.options, s.pageRequest, {});
    EXPECT_FALSE(check.upToDate);
    EXPECT_NE(check.reason.find("star.png"), std::string::npos);

    s.pageRequest.pageFile = local + "/never.html";
    EXPECT_FALSE(checkCreatedPage(s.project, s.lists, s.options, s.pageRequest, {}).upToDate);
    fs::remove_all(local);
}

TEST(Manifest, ReadsWhatItWritesAndSkipsOtherLines)
{
    Manifest m;
    m["my page.html"] = { std::string(64, 'a'), 12, CivilTime { 2024, 5, 6, 7, 8, 9 } };
    m["b.png"] = { std::string(64, 'b'), 0, std::nullopt };
    EXPECT_EQ(parseManifest(formatManifest(m)), m);
    EXPECT_TRUE(parseManifest("not a record\n").empty());
    EXPECT_EQ(parseManifest(formatManifest(m) + "garbage\nzz 1 - x\n").size(), 2u);
    EXPECT_TRUE(
        sameListedTime(CivilTime { 2024, 1, 2, 3, 4, 0 }, CivilTime { 2024, 1, 2, 3, 4, 5 }));
    EXPECT_TRUE(
        sameListedTime(CivilTime { 2024, 1, 2, 0, 0, 0 }, CivilTime { 2024, 1, 2, 3, 4, 5 }));
    EXPECT_FALSE(
        sameListedTime(CivilTime { 2024, 1, 2, 3, 5, 0 }, CivilTime { 2024, 1, 2, 3, 4, 0 }));
    EXPECT_FALSE(
        sameListedTime(CivilTime { 2024, 1, 3, 0, 0, 0 }, CivilTime { 2024, 1, 2, 3, 4, 0 }));
}
