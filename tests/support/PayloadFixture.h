// A distribution folder for one test: "the program" lives in Dist\SetUp.exe
// (its module path is redirected there) and the install folder is Install.
#pragma once

#include <string>

#include "deploy/PayloadLocation.h"
#include "platform/Files.h"
#include "tests/support/TempFolder.h"

class PayloadFixture {
public:
    PayloadFixture()
    {
        Disk::MakeFolder(dist());
        Files::SetModulePathForTesting(CStringW::FromText((dist() + "\\SetUp.exe").c_str()));
    }
    ~PayloadFixture() { Files::SetModulePathForTesting(CStringW()); }

    std::string dist() const { return root / "Dist"; }
    std::string data() const { return root / "Dist\\Data"; }
    std::string install() const { return root / "Install"; }
    // Creates Data with the given files (content = their name).
    void MakeData(std::initializer_list<const char*> names) const
    {
        Disk::MakeFolder(data());
        for (const char* n : names)
            Disk::WriteFile(data() + "\\" + n, n);
    }

    // The payload folder as the install's checks find it ("" when there is none).
    static CStringW Payload()
    {
        CStringW payload;
        LocatePayload(payload);
        return payload;
    }

    TempFolder root;
};
