#pragma once

#include "common/TestSupport.h"

namespace TestSupport {
// Everything initialize() does, and the editor's resources.
void initializeEditor();
} // namespace TestSupport

// Like QTEST_MAIN, with the program's resources registered first.
#define ZRB_TEST_MAIN(TestClass)                                                                   \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        TestSupport::initializeEditor();                                                           \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
