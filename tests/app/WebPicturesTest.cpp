// `--generate --style modern` makes the pictures beside the page ready for the web and the
// page says the size they are shown at; the classic style copies the originals; a second run
// makes nothing again. `--publish` of a modern page sends those pictures, each once.
#include "support/CameraPictures.h"
#include "support/CliTestUtil.h"
#include "support/FtpTestServer.h"
#include "support/ScriptServer.h"

#include "core/page/PageStyle.h"
#include "core/project/Project.h"
#include "core/project/Records.h"

#include <regex>
#include <sys/stat.h>

using namespace stv;
using namespace stv::test;
namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
// LeakSanitizer's stop of the process crashes while it reads the thread-local storage of
// libvips' worker threads; what those hold is libvips' own, so the leak check goes without it.
extern "C" const char *__lsan_default_options()
{
    return "use_tls=0";
}
#endif

namespace
{

struct WebPictures : CliFixture {
    fs::path project;
    fs::path page;

    void SetUp() override
    {
        CliFixture::SetUp();
        fs::create_directories(root / "proj");
        ASSERT_TRUE(makeCameraJpeg((root / "proj/photo.jpg").string(), 2000, 1500));
        ASSERT_TRUE(makePlainPng((root / "proj/plain.png").string()));
        WriteAll(root / "proj/broken.jpg", "GIF? JPEG? neither");
        // The same photo again, shown 600 pixels wide: its height follows the upright shape.
        const auto image = [](const std::string &file, const std::string &width) {
            return joinFields({ "Image", "i", file, "", width, "", "A picture", "0", "", "0", "1",
                       "1", "1" })
                + "\r\n";
        };
        project = root / "proj/site.stv";
        WriteAll(project,
            "\r\n\r\n\r\n\r\n\r\n\r\n1\r\n\r\n16777215\r\nPictures\r\n" + image("photo.jpg", "")
                + image("plain.png", "") + image("broken.jpg", "") + image("photo.jpg", "600"));
        page = root / "web/index.html";
    }

    CliOutcome generate(const std::string &style)
    {
        return run({ "--generate", project.string(), "--style", style, "--output", page.string() });
    }

    // The <img> tag of a picture file, the n-th of that file (from 0).
    std::string imgTag(const std::string &html, const std::string &file, int n = 0)
    {
        std::size_t at = 0;
        for (int i = 0; i <= n; ++i) {
            at = html.find("<img src=\"" + file + "\"", i == 0 ? 0 : at + 1);
            if (at == std::string::npos)
                return {};
        }
        return html.substr(at, html.find('>', at) - at + 1);
    }
};

TEST_F(WebPictures, TheModernPageShowsPicturesReadyForTheWeb)
{
    const CliOutcome outcome = generate("modern");
    ASSERT_EQ(outcome.exitCode, 0) << err.str();
    const std::string photo = (root / "web/photo.jpg").string();
    EXPECT_EQ(pixelSize(photo), std::make_pair(1200, 1600));
    EXPECT_EQ(identifyingTags(photo), "");
    EXPECT_EQ(ReadAll(root / "web/plain.png"), ReadAll(root / "proj/plain.png"));
    // What is no picture is named on stderr, not copied, and the page is there all the same.
    EXPECT_NE(err.str().find("broken.jpg"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(root / "web/broken.jpg"));

    const std::string html = ReadAll(page);
    const std::string first = imgTag(html, "photo.jpg");
    EXPECT_NE(first.find("width=\"1200\" height=\"1600\""), std::string::npos) << first;
    EXPECT_EQ(first.find("loading="), std::string::npos) << first; // wanted at once
    const std::string narrow = imgTag(html, "photo.jpg", 1);
    EXPECT_NE(narrow.find("width=\"600\" height=\"800\""), std::string::npos) << narrow;
    EXPECT_NE(narrow.find("loading=\"lazy\""), std::string::npos) << narrow;
    EXPECT_NE(imgTag(html, "plain.png").find("width=\"40\" height=\"30\""), std::string::npos);
}

TEST_F(WebPictures, TheClassicPageCopiesTheOriginals)
{
    ASSERT_EQ(generate("classic").exitCode, 0) << err.str();
    for (const char *name : { "photo.jpg", "plain.png" })
        EXPECT_EQ(ReadAll(root / "web" / name), ReadAll(root / "proj" / name)) << name;
    EXPECT_FALSE(fs::exists(prog / "WebPictures"));
}

TEST_F(WebPictures, ASecondPageUsesThePicturesMadeForTheFirst)
{
    ASSERT_EQ(generate("modern").exitCode, 0) << err.str();
    std::vector<std::pair<fs::path, timespec>> made;
    for (const auto &entry : fs::directory_iterator(prog / "WebPictures")) {
        struct stat info {
        };
        ASSERT_EQ(::stat(entry.path().c_str(), &info), 0);
        made.emplace_back(entry.path(), info.st_mtim);
    }
    ASSERT_FALSE(made.empty());
    const std::string before = ReadAll(root / "web/photo.jpg");

    ASSERT_EQ(generate("modern").exitCode, 0) << err.str();
    for (const auto &[path, when] : made) {
        struct stat info {
        };
        ASSERT_EQ(::stat(path.c_str(), &info), 0) << path;
        EXPECT_EQ(info.st_mtim.tv_sec, when.tv_sec) << path;
        EXPECT_EQ(info.st_mtim.tv_nsec, when.tv_nsec) << path;
    }
    EXPECT_EQ(ReadAll(root / "web/photo.jpg"), before);
}

TEST_F(WebPictures, PublishSendsWhatThePageShowsThenOnlyAChangedPicture)
{
    FtpTestServer server;
    ASSERT_EQ(server.startError(), "");
    server.makeFolder("site");
    Project p;
    ASSERT_TRUE(loadProjectFile(project.string(), p).ok());
    p.ftpHost = server.host();
    p.ftpUserId = FtpTestServer::User;
    p.ftpInitDir = "site";
    ASSERT_TRUE(saveProjectFile(project.string(), p).ok());
    ASSERT_TRUE(savePageStyle(programFolderPath(), PageStyle::Modern));
    ScopedEnv password("SITORVA_PASSWORD", FtpTestServer::password);
    const auto publish = [&] {
        return run({ "--publish", project.string(), "--allow-plain-ftp" }).exitCode;
    };

    ASSERT_EQ(publish(), 0) << err.str();
    EXPECT_EQ(out.str(), "published: 3 uploaded, 0 unchanged, 0 failed\n");
    EXPECT_NE(err.str().find("broken.jpg"), std::string::npos) << err.str();
    const std::string sent = server.home() + "/site/photo.jpg";
    EXPECT_EQ(pixelSize(sent), std::make_pair(1200, 1600));
    EXPECT_EQ(identifyingTags(sent), "");
    // The very bytes the modern page beside the project shows.
    ASSERT_EQ(generate("modern").exitCode, 0) << err.str();
    EXPECT_EQ(ReadAll(sent), ReadAll(root / "web/photo.jpg"));
    EXPECT_EQ(server.readFile("site/plain.png"), ReadAll(root / "proj/plain.png"));

    ASSERT_EQ(publish(), 0) << err.str();
    EXPECT_EQ(out.str(), "published: 0 uploaded, 3 unchanged, 0 failed\n");

    // Another photo of the same size: only its picture goes again.
    ASSERT_TRUE(makeCameraJpeg((root / "proj/photo.jpg").string(), 2000, 1500));
    const std::string before = ReadAll(sent);
    ASSERT_EQ(publish(), 0) << err.str();
    EXPECT_EQ(out.str(), "published: 1 uploaded, 2 unchanged, 0 failed\n");
    EXPECT_NE(ReadAll(sent), before);
    EXPECT_EQ(pixelSize(sent), std::make_pair(1200, 1600));
}

} // namespace
