// The main of every unit test program: the process state that the program's own start-up sets.

#include "driver/instance_handle.h"
#include "driver/report_error.h"

#include <gtest/gtest.h>

#include <objbase.h>

int main(int argc, char** argv)
{
    instanceHandle = GetModuleHandleA(nullptr);
    defaultCaption = "Quorlan";
    CoInitialize(nullptr);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
