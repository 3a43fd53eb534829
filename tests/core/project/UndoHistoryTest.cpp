#include "core/project/UndoHistory.h"
#include "core/project/Records.h"

#include <gtest/gtest.h>

#include <random>

using namespace stv;

namespace
{

Project sampleProject(int sections)
{
    Project project;
    for (int i = 0; i < sections; ++i)
        project.sections.push_back(newSectionRecord(i % KindCount) + std::to_string(i));
    return project;
}

} // namespace

TEST(UndoHistory, UndoAndRedoRestoreRecordsAndHeader)
{
    Project project = sampleProject(5);
    UndoHistory history;
    history.reset(project);
    const Project original = project;

    project.sections.erase(project.sections.begin() + 2);
    ASSERT_TRUE(history.record("Delete Image", project));
    project.pageTitle = "Changed";
    project.backgroundColour = 0;
    ASSERT_TRUE(history.record("Change Title", project));
    EXPECT_FALSE(history.record("Nothing", project)); // no change, no step
    const Project final = project;

    EXPECT_EQ(history.undoLabel(), "Change Title");
    EXPECT_EQ(history.undo(project), -1); // only header values
    EXPECT_EQ(history.redoLabel(), "Change Title");
    EXPECT_EQ(history.undo(project), 2);
    EXPECT_EQ(project, original);
    EXPECT_FALSE(history.undo(project).has_value());
    EXPECT_EQ(history.redo(project), 2);
    EXPECT_EQ(history.redo(project), -1);
    EXPECT_EQ(project, final);

    // A new step after an undo drops what could be redone.
    history.undo(project);
    project.sections.push_back("extra");
    history.record("Insert", project);
    EXPECT_FALSE(history.canRedo());
}

TEST(UndoHistory, KeepsTheNewestStepsUpToItsLimit)
{
    Project project = sampleProject(1);
    UndoHistory history(3);
    history.reset(project);
    for (int i = 0; i < 5; ++i) {
        project.pageTitle = std::to_string(i);
        history.record("Title " + std::to_string(i), project);
    }
    EXPECT_EQ(history.undoCount(), 3u);
    while (history.undo(project)) { }
    EXPECT_EQ(project.pageTitle, "1");
}

// Random edits of the kinds the windows make: delete, cut, paste, insert runs, record changes
// and header values. Undoing all gives the first project byte for byte, redoing all the last.
TEST(UndoHistory, RandomCommandsUndoneAndRedoneGiveTheSameBytes)
{
    std::mt19937 random(20261208);
    Project project = sampleProject(40);
    UndoHistory history;
    history.reset(project);
    const std::string first = serializeProject(project);
    for (int step = 0; step < 200; ++step) {
        std::vector<std::string> &list = project.sections;
        const auto at = [&](std::size_t extra) {
            return static_cast<std::size_t>(random() % (list.size() + extra));
        };
        switch (random() % 5) {
        case 0: // delete or cut a run
            if (!list.empty()) {
                const std::size_t from = at(0);
                const std::size_t count
                    = std::min<std::size_t>(1 + random() % 3, list.size() - from);
                list.erase(list.begin() + static_cast<long>(from),
                    list.begin() + static_cast<long>(from + count));
            }
            break;
        case 1: // paste or insert a run
            list.insert(list.begin() + static_cast<long>(at(1)), 1 + random() % 3,
                newSectionRecord(static_cast<int>(random() % KindCount)));
            break;
        case 2: // a page store that changed one record
            if (!list.empty())
                list[at(0)] = replaceField(list[at(0)], field::UserLabel, std::to_string(step));
            break;
        case 3:
            project.pageTitle = "Title " + std::to_string(step);
            break;
        default:
            project.headCode = "<meta name=\"s\" content=\"" + std::to_string(step) + "\">";
            break;
        }
        history.record("Step " + std::to_string(step), project);
    }
    const std::string last = serializeProject(project);
    while (history.undo(project)) { }
    EXPECT_EQ(serializeProject(project), first);
    while (history.redo(project)) { }
    EXPECT_EQ(serializeProject(project), last);
}
