#pragma once
// Undo and redo of changes to a project. Each step is stored as the difference between the
// state the history last saw and the new one: the header values when they changed and the one
// run of section records that was replaced, so a step costs memory in proportion to what it
// changed, not to the size of the project.

#include "core/project/Project.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace stv
{

class UndoHistory
{
public:
    static constexpr std::size_t DefaultLimit = 1000;

    explicit UndoHistory(std::size_t limit = DefaultLimit);

    // Forgets every step and takes the project as the state to compare against (a project
    // loaded, recovered or newly started).
    void reset(const Project &project);

    // Records the change from the last seen state to `project` as one step named `label`
    // ("Delete Paragraph"). Nothing is recorded when nothing changed. A new step clears the
    // steps that could be redone. False when nothing changed.
    bool record(const std::string &label, const Project &project);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // The label of the step Undo or Redo would take back or do again; empty when none.
    std::string undoLabel() const;
    std::string redoLabel() const;
    std::size_t undoCount() const { return m_undo.size(); }

    // Takes the last step back in `project`, which must be in the state the history last saw
    // (record pending changes first). Returns the position of the first section the step
    // touched, or -1 when it changed only header values; nullopt when there is nothing to undo.
    std::optional<int> undo(Project &project);
    std::optional<int> redo(Project &project);

private:
    struct Header {
        std::string headCode, ftpInitDir, ftpPassword, ftpUserId, ftpHost, pageFileName;
        bool importBackgroundImage = true;
        std::string backgroundImage;
        int backgroundColour = White;
        std::string pageTitle;
        bool keepPasswordInFile = false;
        bool operator==(const Header &) const = default;
    };
    struct Step {
        std::string label;
        std::optional<Header> headerBefore, headerAfter;
        std::size_t first = 0; // where the replaced run of records starts
        std::vector<std::string> before, after;
        bool sectionsChanged = false;
    };

    static Header headerOf(const Project &project);
    static void applyHeader(const Header &header, Project &project);
    // Puts `to` in place of `from` at `first` in the sections of `project`; false (and
    // nothing changed) when the run does not fit.
    static bool replaceRun(Project &project, std::size_t first,
        const std::vector<std::string> &from, const std::vector<std::string> &to);
    static int positionOf(const Step &step);

    std::size_t m_limit;
    Project m_seen;
    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
};

} // namespace stv
