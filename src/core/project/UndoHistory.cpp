#include "core/project/UndoHistory.h"

#include <algorithm>
#include <iterator>

namespace stv
{

UndoHistory::UndoHistory(std::size_t limit)
    : m_limit(std::max<std::size_t>(limit, 1))
{
}

void UndoHistory::reset(const Project &project)
{
    m_seen = project;
    m_undo.clear();
    m_redo.clear();
}

UndoHistory::Header UndoHistory::headerOf(const Project &project)
{
    return { project.headCode, project.ftpInitDir, project.ftpPassword, project.ftpUserId,
        project.ftpHost, project.pageFileName, project.importBackgroundImage,
        project.backgroundImage, project.backgroundColour, project.pageTitle,
        project.keepPasswordInFile };
}

void UndoHistory::applyHeader(const Header &header, Project &project)
{
    project.headCode = header.headCode;
    project.ftpInitDir = header.ftpInitDir;
    project.ftpPassword = header.ftpPassword;
    project.ftpUserId = header.ftpUserId;
    project.ftpHost = header.ftpHost;
    project.pageFileName = header.pageFileName;
    project.importBackgroundImage = header.importBackgroundImage;
    project.backgroundImage = header.backgroundImage;
    project.backgroundColour = header.backgroundColour;
    project.pageTitle = header.pageTitle;
    project.keepPasswordInFile = header.keepPasswordInFile;
}

bool UndoHistory::record(const std::string &label, const Project &project)
{
    Step step;
    step.label = label;
    const Header before = headerOf(m_seen);
    const Header after = headerOf(project);
    if (!(before == after)) {
        step.headerBefore = before;
        step.headerAfter = after;
    }

    // The one run that differs: what lies between the common beginning and the common end.
    const std::vector<std::string> &oldList = m_seen.sections;
    const std::vector<std::string> &newList = project.sections;
    const auto mismatch
        = std::mismatch(oldList.begin(), oldList.end(), newList.begin(), newList.end());
    const std::size_t prefix = static_cast<std::size_t>(mismatch.first - oldList.begin());
    std::size_t suffix = 0;
    const std::size_t room = std::min(oldList.size(), newList.size()) - prefix;
    while (suffix < room
        && oldList[oldList.size() - 1 - suffix] == newList[newList.size() - 1 - suffix])
        ++suffix;
    if (prefix != oldList.size() || prefix != newList.size()) {
        step.sectionsChanged = true;
        step.first = prefix;
        step.before.assign(oldList.begin() + static_cast<std::ptrdiff_t>(prefix),
            oldList.end() - static_cast<std::ptrdiff_t>(suffix));
        step.after.assign(newList.begin() + static_cast<std::ptrdiff_t>(prefix),
            newList.end() - static_cast<std::ptrdiff_t>(suffix));
    }
    if (!step.sectionsChanged && !step.headerBefore)
        return false;

    if (step.headerAfter)
        applyHeader(*step.headerAfter, m_seen);
    if (step.sectionsChanged)
        replaceRun(m_seen, step.first, step.before, step.after);
    m_undo.push_back(std::move(step));
    if (m_undo.size() > m_limit)
        m_undo.pop_front();
    m_redo.clear();
    return true;
}

bool UndoHistory::replaceRun(Project &project, std::size_t first,
    const std::vector<std::string> &from, const std::vector<std::string> &to)
{
    std::vector<std::string> &list = project.sections;
    if (first > list.size() || from.size() > list.size() - first)
        return false;
    const auto at = list.begin() + static_cast<std::ptrdiff_t>(first);
    const std::size_t common = std::min(from.size(), to.size());
    std::copy(to.begin(), to.begin() + static_cast<std::ptrdiff_t>(common), at);
    if (to.size() > from.size())
        list.insert(at + static_cast<std::ptrdiff_t>(common),
            to.begin() + static_cast<std::ptrdiff_t>(common), to.end());
    else
        list.erase(at + static_cast<std::ptrdiff_t>(common),
            at + static_cast<std::ptrdiff_t>(from.size()));
    return true;
}

int UndoHistory::positionOf(const Step &step)
{
    return step.sectionsChanged ? static_cast<int>(step.first) : -1;
}

std::string UndoHistory::undoLabel() const
{
    return m_undo.empty() ? std::string() : m_undo.back().label;
}

std::string UndoHistory::redoLabel() const
{
    return m_redo.empty() ? std::string() : m_redo.back().label;
}

std::optional<int> UndoHistory::undo(Project &project)
{
    if (m_undo.empty())
        return std::nullopt;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    // The project is normally in the state last seen; were it not, it takes that state whole.
    const bool inStep = project.sections.size() == m_seen.sections.size();
    if (step.headerBefore)
        applyHeader(*step.headerBefore, m_seen);
    if (step.sectionsChanged)
        replaceRun(m_seen, step.first, step.after, step.before);
    if (step.headerBefore)
        applyHeader(*step.headerBefore, project);
    if (!inStep
        || (step.sectionsChanged && !replaceRun(project, step.first, step.after, step.before)))
        project = m_seen;
    const int position = positionOf(step);
    m_redo.push_back(std::move(step));
    return position;
}

std::optional<int> UndoHistory::redo(Project &project)
{
    if (m_redo.empty())
        return std::nullopt;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    // The project is normally in the state last seen; were it not, it takes that state whole.
    const bool inStep = project.sections.size() == m_seen.sections.size();
    if (step.headerAfter)
        applyHeader(*step.headerAfter, m_seen);
    if (step.sectionsChanged)
        replaceRun(m_seen, step.first, step.before, step.after);
    if (step.headerAfter)
        applyHeader(*step.headerAfter, project);
    if (!inStep
        || (step.sectionsChanged && !replaceRun(project, step.first, step.before, step.after)))
        project = m_seen;
    const int position = positionOf(step);
    m_undo.push_back(std::move(step));
    return position;
}

} // namespace stv
