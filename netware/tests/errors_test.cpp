#include "netware/errors.h"
#include "netware/nwexception.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorCodeText, EveryCodeOfTheTable)
{
    struct Row {
        int32_t code;
        const char* text;
    } const rows[] = {
        { 515, "Unable to mount spcified volume (0203)" },
        { 34817, "Invalid connection (8801)" },
        { 35077, "Access denied (8905)" },
        { 35200, "File locked by another station (8980)" },
        { 35202, "You don't have sufficient rights to open the file (8982)" },
        { 35209, "You don't have sufficient rights for searching (8989)" },
        { 35210, "You don't have sufficient rights to delete entry (898A)" },
        { 35211, "You don't have sufficient rights to rename entry (898B)" },
        { 35212, "You don't have sufficient rights to modify entry (898C)" },
        { 35214, "File is in use (898E)" },
        { 35216, "File is \"read-only\" (8990)" },
        { 35218, "File already exists (8992)" },
        { 35222, "Directory does not exist (8996)" },
        { 35224, "Volume does not exist (8998)" },
        { 35225, "Directory full (8999)" },
        { 35227, "Invalid directory handle (899B)" },
        { 35228, "Invalid path (899C)" },
        { 35232, "Directory is not empty (89A0)" },
        { 35233, "I/O Error (89A1)" },
        { 35240, "Access denied (89A8)" },
        { 35263, "Invalid name space (89BF)" },
        { 35270, "Attempt to use console without operator privileges (89C6)" },
        { 35324, "Selected object does not exist (89FC)" },
        { 35325, "Invalid station number (89FD)" },
        { 35326, "Rights not found (89FE)" },
        { 35327, "Invalid access or hardware error (89FF)" },
        // Codes without words of their own.
        { 35193, "Error code: (8979)" },
        { 1, "Error code: (0001)" },
        { 0x12345, "Error code: (12345)" },
        { -601, "Error code: (FFFFFDA7)" },
        { 0, "" },
    };
    for (const Row& row : rows)
        EXPECT_EQ(ErrorCodeText(row.code), QString::fromUtf8(row.text)) << row.code;
}

TEST(CheckNWResult, RaisesWithContextCarriageReturnAndCodeText)
{
    EXPECT_NO_THROW(CheckNWResult("Error creating directory handle", 0));
    try {
        CheckNWResult("Error creating directory handle", 35263);
        FAIL() << "no exception";
    } catch (const TNWException& e) {
        EXPECT_EQ(e.code(), 35263);
        EXPECT_EQ(e.message(), "Error creating directory handle\rInvalid name space (89BF)");
        EXPECT_STREQ(e.what(), "Error creating directory handle\rInvalid name space (89BF)");
        EXPECT_EQ(e.helpContext(), 0);
    }
    try {
        CheckNWResult("Error setting attribute of\rSYS:PUBLIC\\X.EXE", 35193);
        FAIL() << "no exception";
    } catch (const TNWException& e) {
        EXPECT_EQ(e.message(), "Error setting attribute of\rSYS:PUBLIC\\X.EXE\rError code: (8979)");
    }
}

TEST(CheckNDSResult, RaisesWithOperationAndEightHexDigits)
{
    EXPECT_NO_THROW(CheckNDSResult("NWDSRead", 0));
    struct Case {
        const char* operation;
        int32_t code;
        const char* message;
    } const cases[] = {
        { "NWDSRead", -601, "NDS: NWDSRead code FFFFFDA7" },
        { "CreateContextHandle", -1, "NDS: CreateContextHandle code FFFFFFFF" },
        { "NWDSGetAttrVal", 0x89, "NDS: NWDSGetAttrVal code 00000089" },
    };
    for (const Case& c : cases) {
        try {
            CheckNDSResult(c.operation, c.code);
            ADD_FAILURE() << "no exception for " << c.operation;
        } catch (const TNWException&) {
            ADD_FAILURE() << "a directory failure raised the NetWare class";
        } catch (const TNDSException& e) {
            EXPECT_EQ(e.code(), c.code);
            EXPECT_EQ(e.message(), c.message);
        }
    }
}

} // namespace
