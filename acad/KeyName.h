// A sub-key's name (RegSubKeys gives it wide) among the program's texts: the
// key paths of AutoCAD's releases, products and profiles are kept in GBK.
#pragma once

#include "framework/String.h"
#include "framework/StringW.h"

// The name in GBK, when GBK holds it whole in fewer than 256 bytes; otherwise
// false and the key is passed over: opened by a look-alike, it would be another key.
inline bool KeyNameToText(const CStringW& name, CString& text)
{
    return CString::FromWideExact(name.GetString(), name.GetLength(), text) && text.GetLength() < 256;
}
