#include "tests/standin/rot_registration.h"

#include <vector>

RotRegistration::RotRegistration(IUnknown* object, const std::string& itemName)
{
    std::vector<wchar_t> item(itemName.size() + 1);
    MultiByteToWideChar(CP_ACP, 0, itemName.c_str(), -1, item.data(), static_cast<int>(item.size()));
    ComPtr<IMoniker> moniker;
    if (FAILED(CreateItemMoniker(L"!", item.data(), moniker.put())))
        return;
    if (FAILED(GetRunningObjectTable(0, table_.put())) || !table_)
        return;
    if (FAILED(table_->Register(0, object, moniker.get(), &cookie_)))
        cookie_ = 0;
}

RotRegistration::~RotRegistration()
{
    if (cookie_)
        table_->Revoke(cookie_);
}
