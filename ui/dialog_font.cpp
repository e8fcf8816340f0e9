#include "ui/dialog_font.h"

#include "driver/unique_resource.h"

#include <cstddef>

namespace {

bool isVistaOrLater()
{
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    version.dwMajorVersion = 6;
    version.dwMinorVersion = 0;
    version.wServicePackMajor = 0;
    DWORDLONG condition = 0;
    condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
    condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
    condition = VerSetConditionMask(condition, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    return VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, condition);
}

HFONT makeDialogFont()
{
    NONCLIENTMETRICSA metrics = {};
    // Systems before Vista reject the size that includes the padded-border field at the end.
    metrics.cbSize = isVistaOrLater() ? sizeof metrics : offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return nullptr;
    return CreateFontIndirectA(&metrics.lfMessageFont);
}

const UniqueGdiObject font(makeDialogFont());

}  // namespace

HFONT dialogFont()
{
    return static_cast<HFONT>(font.get());
}
