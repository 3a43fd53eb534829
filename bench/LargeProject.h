#pragma once
// The project the window benchmarks load: headings and two-line paragraphs, alternately.

#include "core/project/Project.h"
#include "core/project/Records.h"

#include <QString>

#include <string>
#include <vector>

// Writes a project of `sections` sections to `file`.
inline void writeLargeProject(const QString &file, int sections)
{
    stv::Project p;
    p.sections.reserve(static_cast<std::size_t>(sections));
    for (int i = 0; i < sections; ++i)
        p.sections.push_back(
            stv::joinFields(i % 2 ? std::vector<std::string> { "Paragraph", "P" + std::to_string(i),
                                "Some text{lf13}{lf10}on two lines", "2", "0", "1", "0", "0", "1",
                                "255", "0", "https://example.com/" }
                                  : std::vector<std::string> { "Heading", "H" + std::to_string(i),
                                      "A heading", "3", "1", "0", "0", "0", "1", "0" }));
    if (!stv::saveProjectFile(file.toStdString(), p))
        qFatal("cannot write %s", qPrintable(file));
}
