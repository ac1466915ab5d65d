// The string table the program ships, looked up in each of its languages.
#include "i18n/string_table.h"
#include "i18n/translate.h"
#include "res/resource_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Row {
    const wchar_t* en;
    const wchar_t* ru;
    const wchar_t* de;
    const wchar_t* fr;
};

// Every row of the settings block that the program looks up, as it must read.
const Row kRows[] = {
    {L"Playlist", L"Плейлист", L"Playliste", L"Liste"},
    {L"OK", L"OK", L"OK", L"OK"},
    {L"Cancel", L"Отмена", L"Abbrechen", L"Annuler"},
    {L"Add...", L"Добавить...", L"Hinzufügen...", L"Ajouter..."},
    {L"Remove", L"Удалить", L"Entfernen", L"Retirer"},
    {L"Shuffle", L"Перемешивание", L"Zufällige Wiedergabe", L"Ordre aléatoire"},
    {L"", L"", L"", L""},
    {L"All supported files", L"Все поддерживаемые форматы", L"Alle unterstützten Dateien", L"Tout les fichiers supportés"},
    {L"Playlist Files", L"Файлы плейлистов", L"Playliste-Dateien", L"Fichiers de la liste"},
    {L"Restore Defaults", L"Сброс настроек", L"Zurücksetzen", L"Réinitialiser"},
    {L"Monitor selection", L"Выбор монитора", L"Monitor-Auswahl", L"Sélection du moniteur"},
    {L"Show a blank screen on all monitors", L"Затемнить остальные мониторы", L"Leeren Bildschirm auf allen Monitoren zeigen", L"Afficher un écran blanc sur tous les moniteurs"},
    {L"Options", L"Опции", L"Optionen", L"Options"},
    {L"Exit on mouse move", L"Выход по движению мыши", L"Mit Mausbewegung beenden", L"Sortir sur mouvement de souris"},
    {L"Antialiasing", L"Сглаживание", L"Antialiasing", L"Anticrénelage"},
    {L"Antialiasing quality:", L"Качество сглаживания:", L"Antialiasing-Qualität:", L"Qualité de l'anticrénelag :"},
    {L"Animated wallpaper options", L"Опции анимированных обоев", L"Animierte wallpaper-Optionen", L"Options wallpaper Animés"},
    {L"Run at Windows startup", L"Запускать при старте Windows", L"Wallpaper beim Windows-Start ausführen", L"Exécuter au démarrage de Windows"},
    {L"Sound options", L"Звуковые возможности", L"Soundoptionen", L"Options du son"},
    {L"Enable sounds", L"Включить звуки", L"Sounds aktivieren", L"Valider les sons"},
    {L"Enable music", L"Включить музыку", L"Musik aktivieren", L"Valider la musique"},
    {L"Play my music", L"Проигрывать свою музыку", L"Meine Musik spielen", L"Jouer ma musique"},
    {L"Edit Playlist...", L"Редактировать...", L"Playliste bearbeiten...", L"Editer la liste..."},
    {L"Products", L"Продукты", L"Produkte", L"Produits"},
    {L"Please take a look at our web site for more great 3D screensavers", L"Посмотреть другие скринсейверы нашей компании", L"Entdecken Sie noch mehr 3D-Screensavers auf unserer Webseite", L"Veuillez visiter notre site web pour voir plus d’économiseurs d’écran 3D"},
    {L"Visit...", L"Посмотреть...", L"Besuchen...", L"Visitez..."},
    {L"%s %s Configuration", L"Настройки %s %s", L"%s %s Konfiguration", L"Configuration de %s %s"},
    {L"Music volume: %.01i%%", L"Уровень музыки: %.01i%%", L"Musik-Lautstärke: %.01i%%", L"Volume de la musique: %.01i%%"},
    {L"Sounds volume: %.01i%%", L"Уровень звуков: %.01i%%", L"Sound-Lautstärke: %.01i%%", L"Volume des sons: %.01i%%"},
    {L"Error!", L"Ошибка!", L"Fehler!", L"Erreur!"},
    {L"Error writing to the system registry. Please NOTE: You need to have sufficient administrative rights to run this program successfully.", L"Ошибка записи в системный реестр. Пожалуйста обратите внимание: вы должны иметь соответствующие административные права для успешного запуска этой программы.", L"Fehler beim Eintrag in die Registry. BEACHTEN Sie bitte: um das Programm erfolgreich auszuführen, müssen Sie die Administratorrechte besitzen.", L"Erreur d’écriture dans le registre système. Veuillez NOTER: vous devez disposez de droits d’administration suffisant pour faire fonctionner ce programme."},
};

// Texts the program looks up although the table has no row for them.
const wchar_t* const kWithoutRow[] = {
    L"Sound volume: %.01i%%",
    L"Multi-monitor",
    L"Can't start the screensaver! Please try to restart your computer.",
    L"Can't find the main file! Please reinstall screensaver.",
};

// Rows the table carries although nothing looks them up.
const wchar_t* const kCarriedOnly[] = {
    L"Can't find main file! Please reinstall screensaver.",
};

struct Language {
    const char* name;
    const wchar_t* tag;
    const wchar_t* Row::*text;
};

void PrintTo(const Language& c, std::ostream* os) { *os << c.name; }

const Language kLanguages[] = {
    {"Russian", L"ru", &Row::ru},
    {"English", L"en", &Row::en},
    {"German", L"de", &Row::de},
    {"French", L"fr", &Row::fr},
};

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return narrow;
}

std::wstring LowerAscii(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

TEST(ShippedTable, OffersFourLanguagesAndTwoTextBlocksWithEnglishCurrent) {
    StringTable& table = StringTable::Create(IDR_STRING_TABLE);
    EXPECT_EQ(StringTable::Current(), &table);
    EXPECT_EQ(table.LanguageTags(), (std::vector<std::wstring>{L"ru", L"en", L"de", L"fr"}));
    EXPECT_EQ(table.TextBlockTags(), (std::vector<std::wstring>{L"Screensaver Settings Dialog", L"Screensaver"}));
    EXPECT_EQ(table.CurrentLanguageTag(), L"en");
    EXPECT_EQ(table.CurrentTextBlockTag(), L"Screensaver Settings Dialog");
}

class ShippedTableIn : public ::testing::TestWithParam<Language> {
protected:
    void SetUp() override {
        StringTable& table = StringTable::Create(IDR_STRING_TABLE);
        ASSERT_TRUE(table.SelectLanguage(GetParam().tag));
        ASSERT_TRUE(table.SelectTextBlock(L"Screensaver Settings Dialog"));
        ASSERT_EQ(table.CurrentLanguageTag(), GetParam().tag);
    }
};

TEST_P(ShippedTableIn, EveryUsedRowGivesItsTranslation) {
    for (const Row& row : kRows) {
        EXPECT_EQ(Translate(row.en), row.*GetParam().text) << Narrow(row.en);
    }
}

TEST_P(ShippedTableIn, TextsWithoutARowComeBackInEnglish) {
    for (const wchar_t* text : kWithoutRow) {
        std::wstring out;
        EXPECT_FALSE(StringTable::Current()->Lookup(text, out)) << Narrow(text);
        EXPECT_EQ(out, text);
        EXPECT_EQ(Translate(text), text) << Narrow(text);
    }
}

TEST_P(ShippedTableIn, LowerCaseVariantsComeBackUnchanged) {
    for (const Row& row : kRows) {
        const std::wstring lower = LowerAscii(row.en);
        if (lower == row.en) continue;
        EXPECT_EQ(Translate(lower), lower) << Narrow(lower);
    }
}

TEST_P(ShippedTableIn, CarriesTheRowsNothingLooksUpWithTheirPlaceholders) {
    for (const wchar_t* tag : kCarriedOnly) {
        std::wstring out;
        EXPECT_TRUE(StringTable::Current()->Lookup(tag, out)) << Narrow(tag);
        EXPECT_FALSE(out.empty()) << Narrow(tag);
        if (std::wstring(tag).find(L"%.01i%%") != std::wstring::npos) {
            EXPECT_NE(out.find(L"%.01i%%"), std::wstring::npos) << Narrow(out);
        }
        if (GetParam().tag == std::wstring(L"en")) {
            EXPECT_EQ(out, tag);
        }
    }
}

TEST_P(ShippedTableIn, RendererBlockHoldsItsOwnTextsOnly) {
    StringTable& table = *StringTable::Current();
    ASSERT_TRUE(table.SelectTextBlock(L"Screensaver"));
    EXPECT_EQ(table.CurrentTextBlockTag(), L"Screensaver");
    // Escaped quotes and line breaks arrive as characters.
    const std::wstring quoted = Translate(L"Now playing: \"%s\"");
    EXPECT_NE(quoted.find(L"\"%s\""), std::wstring::npos) << Narrow(quoted);
    const std::wstring twoLines = Translate(L"Trial version\nPlease visit our web site");
    EXPECT_EQ(std::count(twoLines.begin(), twoLines.end(), L'\n'), 1) << Narrow(twoLines);
    std::wstring out;
    EXPECT_TRUE(table.Lookup(L"Loading...", out));
    EXPECT_TRUE(table.Lookup(L"", out));
    EXPECT_EQ(out, L"");
    // The dialogs' texts live in the other block.
    EXPECT_FALSE(table.Lookup(L"Cancel", out));
    EXPECT_EQ(out, L"Cancel");
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedTableIn, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<Language>& info) { return std::string(info.param.name); });

}  // namespace
