#ifndef QUORLAN_TESTS_STANDIN_ROT_REGISTRATION_H
#define QUORLAN_TESTS_STANDIN_ROT_REGISTRATION_H

// An object registered in the COM Running Object Table under an item moniker, the way Visual
// Studio registers its automation object: the display name is "!" + itemName
// ("!VisualStudio.DTE.17.0:4242"). Revoked when the registration goes away.

#include "vslink/com_owners.h"

#include <objbase.h>

#include <string>

class RotRegistration {
public:
    RotRegistration(IUnknown* object, const std::string& itemName)
    {
        UniqueBstr item = makeBstr(itemName);
        ComPtr<IMoniker> moniker;
        if (!item || FAILED(CreateItemMoniker(L"!", item.get(), moniker.put())) ||
            FAILED(GetRunningObjectTable(0, table_.put())) ||
            FAILED(table_->Register(0, object, moniker.get(), &cookie_)))
            cookie_ = 0;
    }
    ~RotRegistration()
    {
        if (cookie_)
            table_->Revoke(cookie_);
    }
    RotRegistration(const RotRegistration&) = delete;
    RotRegistration& operator=(const RotRegistration&) = delete;

    bool registered() const { return cookie_ != 0; }

private:
    ComPtr<IRunningObjectTable> table_;
    DWORD cookie_ = 0;
};

#endif
