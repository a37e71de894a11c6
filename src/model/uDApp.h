#pragma once
// The program's settings ("Nastaveni.ini") and the lookup of every caption and
// message in the language table ("jazyk.ini"), both in the program's directory.
// Text is code page 1250.

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The settings; each field's name is also its key in section "Nastaveni".
struct TNastaveni {
  bool Protokol = false;  // write a protocol when the evaluation screen is closed
  std::string VAdr;       // default directory of test files, as path text (platform/cp1250.h)
  bool PVAdr = true;      // the open and save dialogs start in VAdr
  bool ZjistiAV = false;  // check for a newer version at start
  std::string pJazyk =
      "\xC8"
      "esky";  // the current language ("Česky"): a section of the language table

  bool operator==(const TNastaveni&) const = default;
};

extern TNastaveni Settings;

// Fills Settings from the program's directory + fileName; a missing file or
// key gives the default, and nothing is written.
void LoadSettings(const std::string& fileName);

// Writes Settings to the program's directory + fileName, keeping the file's
// other lines. The file is replaced once with all five values; when the write
// is refused (platform::EIniFileException) it stays as it was. A VAdr that
// code page 1250 cannot hold is written as the code page shows it, with
// "?" for what it lacks, and its exact name goes beside it under "VAdrUtf8"
// in ASCII, which LoadSettings prefers while VAdr is unchanged.
void SaveSettings(const std::string& fileName);

// The text of the key in the current language. A key that is missing or empty
// is written into the table as "!_" + key, and that text is returned, so a
// translator finds every text still to be done. While a platform::ProfileBatch
// is open (an event handler runs), the placeholders wait for its end and go
// into the table together.
std::string LangText(const std::string& key);

// The language names, i.e. the sections of the table in the file's order.
std::vector<std::string> ListLanguages();

// Every key the program looks up in the language table, in the order of the
// shipped table's first section.
inline constexpr auto LangKeys = std::to_array<std::string_view>({
    "Aktualizace",
    "AktualizaciNelzeZjistitNejstePripojeni",
    "AktualizaciNelzeZjistitNelzeNahratDataZNetu",
    "AktualizaciNelzeZjistitNelzeUlozitSoubor",
    "AktualnostProgramu",
    "Autor",
    "Bodove",
    "Body",
    "Cas",
    "CasoveOmezeniNAOtazku",
    "CasoveOmezeniNaTest",
    "CestuKObrazkuNelzeUlozit",
    "Chybove",
    "CisloOtazky",
    "Dalsi",
    "Datum",
    "DatumACas",
    "Dokonci",
    "DoporucenaHodnota",
    "EMail",
    "EmailOdUzivateleAppZorvik",
    "h1do",
    "h2do",
    "h3do",
    "h4do",
    "HesloProEditaci",
    "Hlavicka",
    "HlavniMenu",
    "Hodnoceni",
    "HorniDolni",
    "Informace",
    "Jazyk",
    "Jmeno",
    "JmenoProgramu",
    "JmenoTestu",
    "KDispoziciNovaVerzeProgramu",
    "Kodovat",
    "Kombinacni",
    "Konec",
    "LibovolneProchazeniOtazek",
    "Licence",
    "MichatOdpovedi",
    "MichatOtazky",
    "MoznostiTestu",
    "Nacist",
    "NacistTest",
    "Nadpis",
    "Napoveda",
    "Nastaveni",
    "NastaveniPisma",
    "Nastavit",
    "Obrazek",
    "Obrazky",
    "ObrBitmapy",
    "ObrIkony",
    "ObrJPEG",
    "ObrPNG",
    "ObrVsechny",
    "OchranaTestu",
    "OdpovedC",
    "Odpovedi",
    "Ok",
    "Okraje",
    "Otazka",
    "Otazky",
    "ParametryTestu",
    "PocetKopii",
    "PocetOdpovedi",
    "PocetOtazek",
    "PocetVariant",
    "Pokracovat",
    "PomocneNastroje",
    "Pomucky",
    "PouzivateAktualniVerziProgramu",
    "PouzivatVychoziAdresar",
    "Poznamka",
    "PraceSeSoubory",
    "PravyLevy",
    "Predchozi",
    "Pridat",
    "Pripravit",
    "Pristup",
    "Procentove",
    "ProhlizecNapovedyChybiSoubor",
    "ProSpusteniPotrebaDveOtz",
    "Protokoly",
    "PrubehTestu",
    "RegistraceTypuSSTProTesty",
    "Smazat",
    "SouborNapovedyChybi",
    "SouborNapovedyJePoskozen",
    "Soubory",
    "SouhrnneVysledky",
    "Spatne",
    "Spravne",
    "SpustitTest",
    "Str",
    "Stranka",
    "StrankyProgramu",
    "TentoTestJeChranenHeslemProsimZadejteJej",
    "Test",
    "TestNemaOtazky",
    "TestZmenenKonecAppBezUlozeni",
    "TestZmenenNacistNovyBezUlozeni",
    "TestZmenenVytvoritNovyBezUlozeni",
    "Tisk",
    "TiskTestu",
    "Ukoncit",
    "Ulozit",
    "UlozitTest",
    "UlozitTestDoRTF",
    "UpravInfo",
    "Upravit",
    "UpravitTest",
    "VarC",
    "Velikost",
    "Verze",
    "VlastnostiTestu",
    "Vlozit",
    "VyberAdresar",
    "VyberAdresare",
    "Vybrat",
    "VysledkyProKVar",
    "VysledkyTestu",
    "VytvaretProtokol",
    "Vytvorit",
    "Zakladni",
    "ZakladniInformace",
    "Zavrit",
    "Zjisti",
    "ZjistovatNoveVerzeProgramu",
    "ZjistujiAktualizace",
    "Znamka",
    "ZobrazovatSpravneOdpovedi",
    "Zpet",
    "zProgramuZorvik",
    "ZpusobHodnoceni",
    "Zrusit",
});
inline constexpr size_t kLangKeyCount = LangKeys.size();
