// The publisher's name: the version resources' CompanyName and the Apps &
// Features entry's Publisher. A define, so that the resource scripts read it too.
#pragma once

#define TRABEX_COMPANY_NAME "Ostrevo"
