#include "model/uDApp.h"

#include "platform/appdir.h"
#include "platform/profile.h"

TNastaveni Settings;

namespace {

const char kSection[] = "Nastaveni";
const char kLanguageTable[] = "jazyk.ini";

std::string TableOfLanguages() { return platform::ProgramDir() + kLanguageTable; }

}  // namespace

void LoadSettings(const std::string& fileName) {
  const platform::ProfileFile ini(platform::ProgramDir() + fileName);
  // A missing key gives the field's default; the default test folder lies beside the program.
  const TNastaveni d;
  Settings.Protokol = ini.ReadBool(kSection, "Protokol", d.Protokol);
  Settings.VAdr = ini.ReadString(kSection, "VAdr", platform::ProgramDir() + "Testy");
  Settings.PVAdr = ini.ReadBool(kSection, "PVAdr", d.PVAdr);
  Settings.ZjistiAV = ini.ReadBool(kSection, "ZjistiAV", d.ZjistiAV);
  Settings.pJazyk = ini.ReadString(kSection, "pJazyk", d.pJazyk);
}

void SaveSettings(const std::string& fileName) {
  // One write for all five, so a refused write never leaves half the new values on disk.
  platform::ProfileFile ini(platform::ProgramDir() + fileName);
  platform::profile::Document doc = ini.ReadAll();
  const auto flag = [](bool on) { return on ? "1" : "0"; };
  doc.Set(kSection, "Protokol", flag(Settings.Protokol));
  doc.Set(kSection, "VAdr", Settings.VAdr);
  doc.Set(kSection, "PVAdr", flag(Settings.PVAdr));
  doc.Set(kSection, "ZjistiAV", flag(Settings.ZjistiAV));
  doc.Set(kSection, "pJazyk", Settings.pJazyk);
  ini.WriteAll(doc);
}

std::string LangText(const std::string& key) {
  platform::ProfileFile table(TableOfLanguages());
  std::string text = table.ReadString(Settings.pJazyk, key, "");
  if (text.empty()) {
    text = "!_" + key;
    // A screen looks up its texts in a burst: their placeholders go in together.
    table.WriteStringInBatch(Settings.pJazyk, key, text);
  }
  return text;
}

std::vector<std::string> ListLanguages() { return platform::ProfileFile(TableOfLanguages()).ReadSections(); }

const std::array<std::string_view, kLangKeyCount> LangKeys = {
    "Aktualizace",
    "AktualizaciNelzeZjistitNejstePripojeni",
    "AktualizaciNelzeZjistitNelzeNahratDataZNetu",
    "AktualnostProgramu",
    "Autor",
    "Bodove",
    "Body",
    "Cas",
    "CasoveOmezeniNAOtazku",
    "CasoveOmezeniNaTest",
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
};
