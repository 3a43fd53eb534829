#pragma once
// Including this header gives a GoogleTest program one QApplication, created before the first
// test runs (windows run on the offscreen platform under CTest).

#include <QApplication>

#include <gtest/gtest.h>

namespace stv::test
{

class QtApplicationEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "sitorva_tests";
        static char *argv[] = { name, nullptr };
        if (!QApplication::instance())
            new QApplication(argc, argv);
    }
};

inline ::testing::Environment *const qtApplicationEnvironment
    = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace stv::test
