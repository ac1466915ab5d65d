#include "ui/web_site.h"

std::wstring WebSiteAddress(const std::wstring& languageTag) {
    const wchar_t* site = L"https://www.tidewright.com/";
    if (languageTag == L"de") site = L"https://www.tidewright.de/";
    else if (languageTag == L"fr") site = L"https://www.tidewright.fr/";
    else if (languageTag == L"ru") site = L"https://www.tidewright.ru/";
    return std::wstring(site) + L"?source=marrowdale&url=settings_more";
}
