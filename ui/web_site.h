// The maker's web site as the settings dialog's "Visit..." button opens it.
#pragma once

#include <string>

// The site for the language tag ("de", "fr" and "ru" have their own; any
// other tag gets the general one), with the query that tells the site where
// the visitor came from.
std::wstring WebSiteAddress(const std::wstring& languageTag);
