#include "netware/errors.h"

#include "netware/nwexception.h"

namespace {

struct TErrorText {
    int32_t code;
    const char* message;
};

// The console's string table for completion codes. Both "Access denied" rows are separate
// strings on purpose: a translation may word the two causes differently.
const char* const SUnableToMount = "Unable to mount spcified volume";
const char* const SInvalidConnection = "Invalid connection";
const char* const SAccessDenied = "Access denied";
const char* const SFileLocked = "File locked by another station";
const char* const SNoOpenRights = "You don't have sufficient rights to open the file";
const char* const SNoSearchRights = "You don't have sufficient rights for searching";
const char* const SNoDeleteRights = "You don't have sufficient rights to delete entry";
const char* const SNoRenameRights = "You don't have sufficient rights to rename entry";
const char* const SNoModifyRights = "You don't have sufficient rights to modify entry";
const char* const SFileInUse = "File is in use";
const char* const SFileReadOnly = "File is \"read-only\"";
const char* const SFileExists = "File already exists";
const char* const SNoSuchDirectory = "Directory does not exist";
const char* const SNoSuchVolume = "Volume does not exist";
const char* const SDirectoryFull = "Directory full";
const char* const SInvalidDirHandle = "Invalid directory handle";
const char* const SInvalidPath = "Invalid path";
const char* const SDirectoryNotEmpty = "Directory is not empty";
const char* const SIOError = "I/O Error";
const char* const SNoAccess = "Access denied";
const char* const SInvalidNameSpace = "Invalid name space";
const char* const SNotConsoleOperator = "Attempt to use console without operator privileges";
const char* const SNoSuchObject = "Selected object does not exist";
const char* const SInvalidStation = "Invalid station number";
const char* const SNoRights = "Rights not found";
const char* const SHardwareError = "Invalid access or hardware error";
const char* const SErrorCode = "Error code:";

const TErrorText kErrorTexts[] = {
    { 515, SUnableToMount },
    { 34817, SInvalidConnection },
    { 35077, SAccessDenied },
    { 35200, SFileLocked },
    { 35202, SNoOpenRights },
    { 35209, SNoSearchRights },
    { 35210, SNoDeleteRights },
    { 35211, SNoRenameRights },
    { 35212, SNoModifyRights },
    { 35214, SFileInUse },
    { 35216, SFileReadOnly },
    { 35218, SFileExists },
    { 35222, SNoSuchDirectory },
    { 35224, SNoSuchVolume },
    { 35225, SDirectoryFull },
    { 35227, SInvalidDirHandle },
    { 35228, SInvalidPath },
    { 35232, SDirectoryNotEmpty },
    { 35233, SIOError },
    { 35240, SNoAccess },
    { 35263, SInvalidNameSpace },
    { 35270, SNotConsoleOperator },
    { 35324, SNoSuchObject },
    { 35325, SInvalidStation },
    { 35326, SNoRights },
    { 35327, SHardwareError },
};

QString hexCode(int32_t code, int digits)
{
    return QString::number(uint32_t(code), 16).toUpper().rightJustified(digits, u'0');
}

} // namespace

QString ErrorCodeText(int32_t code)
{
    if (code == 0)
        return QString();
    const char* message = SErrorCode;
    for (const TErrorText& row : kErrorTexts) {
        if (row.code == code) {
            message = row.message;
            break;
        }
    }
    return QString::fromUtf8(message) + QStringLiteral(" (") + hexCode(code, 4) + u')';
}

void CheckNWResult(const QString& context, int32_t code)
{
    if (code != 0)
        throw TNWException(context + u'\r' + ErrorCodeText(code), code);
}

void CheckNDSResult(const QString& operation, int32_t code)
{
    if (code != 0)
        throw TNDSException(
            QStringLiteral("NDS: %1 code %2").arg(operation, hexCode(code, 8)), code);
}
