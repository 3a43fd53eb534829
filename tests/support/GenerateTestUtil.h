#pragma once
// Helpers shared by the generator's tests: a fake copier, a generator
// with lists of the test's choosing.

#include "core/page/PageGenerator.h"
#include "core/project/Records.h"
#include "support/TestRecords.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace stv::test
{

class FakeCopier : public FileCopier
{
public:
    CopyResult copy(const std::string &from, const std::string &to) override
    {
        calls.emplace_back(from, to);
        if (from.find("missing") != std::string::npos)
            return fail("Cannot open " + from + ": No such file or directory");
        return CopyDone::Copied;
    }
    std::vector<std::pair<std::string, std::string>> calls;
};

struct Gen {
    FavouriteLists lists;
    PageRequest request;
    FakeCopier copier;
    explicit Gen(bool importRequested = false)
    {
        lists.links.clear();
        request.importRequested = importRequested;
        request.pageFile = "/out/page.html";
        request.sourceFolder = "/proj";
    }
    PageGenerator make() { return PageGenerator(lists, request, copier); }
};

} // namespace stv::test
