#include <gtest/gtest.h>

#include "startup/command_line.h"

using namespace zweigschau;

TEST(BefehlszeilenParameterText, RawCommandLineLookups) {
  struct Fall {
    const char* zeile;
    const char* teil;
    const char* wert;
  };
  const Fall fälle[] = {
      {"", "/o:", ""},
      {"/O:D:\\Temp\\Alt /e:2 /i", "/o:", "d:\\temp\\alt"},
      {"/O:D:\\Temp\\Alt /e:2 /i", "/e:", "2"},
      {"/O:D:\\Temp\\Alt /e:2 /i", "/i", " "},
      {"/O:D:\\Temp\\Alt /e:2 /i", "/n", ""},
      {"/o:\"D:\\Eigene Dateien\\Musik\" /n", "/o:", "d:\\eigene dateien\\musik"},
      {"/o:\"D:\\Eigene Dateien\\Musik\" /n", "/n", " "},
      {"/o:\"D:\\Eigene Dateien", "/o:", "d:\\eigene dateien"},
      {"/o:\"\"", "/o:", " "},
      {"/o: /i", "/o:", " "},
      {"/i /o:", "/o:", " "},
      {"/e:2 /e:5", "/e:", "2"},
      {"/o:d:\\a/nix", "/n", "ix"},
      {"/o:d:\\temp\t/i", "/o:", "d:\\temp\t/i"},
      {"/o:d:\\temp\t/i", "/i", " "},
      {"/o:d:\\temp", "/O:", ""},
      {"/O:\xC3\x84RGER", "/o:", "\xC3\xA4rger"},
      // An argument quoted as a whole, key and all, as cmd and shortcuts quote.
      {"\"/o:C:\\Users\\me\\Eigene Dateien\" /i", "/o:", "c:\\users\\me\\eigene dateien"},
      {"\"/o:C:\\Users\\me\\Eigene Dateien\" /i", "/i", " "},
      {"/i \"/o:D:\\Alte Lieder", "/o:", "d:\\alte lieder"},
      {"\"/o:\"", "/o:", " "},
  };
  for (const Fall& f : fälle)
    EXPECT_EQ(BefehlszeilenParameterText(f.zeile, f.teil), f.wert) << f.zeile << " ? " << f.teil;
}

TEST(BefehlszeilenParameter, KeysOnlyAtTheStartOfAnArgument) {
  const std::vector<std::string> args{"/O:/home/Me/Musik", "/ix", "/e:2", "/e:5"};
  EXPECT_EQ(BefehlszeilenParameter(args, "/o:"), "/home/Me/Musik");
  EXPECT_EQ(BefehlszeilenParameter(args, "/i"), "x");
  EXPECT_EQ(BefehlszeilenParameter(args, "/e:"), "2");
  EXPECT_EQ(BefehlszeilenParameter(args, "/n"), "");
  EXPECT_EQ(BefehlszeilenParameter({}, "/o:"), "");

  // Keys inside a path are not keys.
  const std::vector<std::string> pfade{"/o:/srv/images", "/O:/home/nina"};
  EXPECT_EQ(BefehlszeilenParameter(pfade, "/i"), "");
  EXPECT_EQ(BefehlszeilenParameter(pfade, "/n"), "");
  EXPECT_EQ(BefehlszeilenParameter({"/o:/home/me/Meine Musik"}, "/o:"), "/home/me/Meine Musik");
  EXPECT_EQ(BefehlszeilenParameter({"/o:"}, "/o:"), " ");
  EXPECT_EQ(BefehlszeilenParameter({"/I"}, "/i"), " ");
}

TEST(StartEntscheiden, UsageBatchOrWindow) {
  EXPECT_EQ(StartEntscheiden({}).art, StartArt::Fenster);
  EXPECT_EQ(StartEntscheiden({"/a"}).art, StartArt::Fenster);
  EXPECT_EQ(StartEntscheiden({"/o:/tmp", "/?"}).art, StartArt::Anleitung);

  StartEntscheidung e = StartEntscheiden({"/o:/tmp"});
  EXPECT_EQ(e.art, StartArt::Stapellauf);
  EXPECT_EQ(e.werte.Pfad, "/tmp");
  EXPECT_TRUE(e.werte.MitStartordner);
  EXPECT_TRUE(e.werte.NurEndpunkte);
  EXPECT_EQ(e.werte.Ebenen, 0);
  EXPECT_EQ(e.werte.Maske, "");
  EXPECT_TRUE(e.werte.NurOrdnerMitDateien);

  e = StartEntscheiden({"/o:/tmp", "/i", "/e:2", "/d:*.mp3", "/n"});
  EXPECT_FALSE(e.werte.MitStartordner);
  EXPECT_EQ(e.werte.Ebenen, 2);
  EXPECT_EQ(e.werte.Maske, "*.mp3");
  EXPECT_FALSE(e.werte.NurOrdnerMitDateien);

  EXPECT_EQ(StartEntscheiden({"/o:/tmp", "/e:3.5"}).werte.Ebenen, 4);
  EXPECT_EQ(StartEntscheiden({"/o:/tmp", "/e:"}).werte.Ebenen, 0);
  EXPECT_EQ(StartEntscheiden({"/o:/tmp", "/e:x"}).werte.Ebenen, 0);
  e = StartEntscheiden({"/o:"});
  EXPECT_EQ(e.art, StartArt::Stapellauf);
  EXPECT_EQ(e.werte.Pfad, " ");
  EXPECT_FALSE(e.ausKontextmenü);

  // The context menu's key, also as Windows reads its raw command line,
  // where no path can hold it.
  EXPECT_TRUE(StartEntscheiden({"/o:/tmp", "/kontextmenue:"}).ausKontextmenü);
  EXPECT_FALSE(StartEntscheiden({"/o:/tmp/kontextmenue:"}).ausKontextmenü);
  EXPECT_TRUE(StartEntscheidenText("/o:\"D:\\Musik\" /kontextmenue:").ausKontextmenü);
  EXPECT_FALSE(StartEntscheidenText("/o:\"D:\\kontextmenue\\Musik\"").ausKontextmenü);
}

TEST(StartEntscheiden, AFolderWithoutKeyOpensTheWindowWithIt) {
  struct Fall {
    std::vector<std::string> argumente;
    const char* ordner;
  };
  const Fall fälle[] = {
      {{}, ""},
      {{"/home/me/Meine Musik"}, "/home/me/Meine Musik"},
      {{"/i", "/nfs/musik", "/images"}, "/nfs/musik"},
      {{"/N", "/A", "/e:2", "/d:*.mp3", "Lieder"}, "Lieder"},
      {{"", "/images"}, "/images"},
      {{"/kontextmenue:", "Lieder"}, "Lieder"},
  };
  for (const Fall& f : fälle) {
    const StartEntscheidung e = StartEntscheiden(f.argumente);
    EXPECT_EQ(e.art, StartArt::Fenster);
    EXPECT_EQ(e.ordner, f.ordner) << (f.argumente.empty() ? "" : f.argumente.back());
  }
  EXPECT_EQ(StartEntscheiden({"/srv/x", "/o:/tmp"}).werte.Pfad, "/tmp");
  EXPECT_EQ(StartEntscheiden({"/srv/x", "/o:/tmp"}).ordner, "");

  struct Text {
    const char* zeile;
    const char* ordner;
  };
  const Text zeilen[] = {
      {"", ""},
      {"  D:\\Musik\\Alte Lieder  ", "D:\\Musik\\Alte Lieder"},
      {"\"D:\\Eigene Dateien\\\xC3\x84rger\" ", "D:\\Eigene Dateien\\\xC3\x84rger"},
      {"\"D:\\offen", "D:\\offen"},
      {"/a", ""},
      {"\"/a\"", ""},
      {" /i D:\\x", ""},
  };
  for (const Text& z : zeilen) {
    const StartEntscheidung e = StartEntscheidenText(z.zeile);
    EXPECT_EQ(e.art, StartArt::Fenster);
    EXPECT_EQ(e.ordner, z.ordner) << z.zeile;
  }
  EXPECT_EQ(StartEntscheidenText("/o:d:\\x").ordner, "");
}

TEST(AnleitungsText, EightLinesKeyTabDescription) {
  EXPECT_EQ(AnleitungsText(),
            "BefehlsZeilen-Parameter:\r\r/o:..\t = Ordnername\r/i\t = mit Qellordner in der Ausgabe\r"
            "/e:..\t = Anzahl der OrdnerEbenen\r/a\t = alle Ebenen ausgeben\r"
            "/d:*.mp3\t = *.mp3-Dateien listen\r/n\t = nur Ordner mit passenden Dateien");
}

TEST(StartEntscheidenText, TheRawRuleDecidesTheStart) {
  EXPECT_EQ(StartEntscheidenText("").art, StartArt::Fenster);
  EXPECT_EQ(StartEntscheidenText("/a").art, StartArt::Fenster);
  // "/?" anywhere wins, even inside a value.
  EXPECT_EQ(StartEntscheidenText("/o:c:\\x/?").art, StartArt::Anleitung);
  EXPECT_EQ(StartEntscheidenText("--help").art, StartArt::Anleitung);
  EXPECT_EQ(StartEntscheidenText(" /o:c:\\x\t-h").art, StartArt::Anleitung);
  EXPECT_EQ(StartEntscheidenText("\"c:\\x -h\"").art, StartArt::Fenster);

  StartEntscheidung e = StartEntscheidenText("/O:D:\\Temp\\\xC3\x84rger /I /E:2 /D:*.MP3");
  EXPECT_EQ(e.art, StartArt::Stapellauf);
  EXPECT_EQ(e.werte.Pfad, "d:\\temp\\\xC3\xA4rger");
  EXPECT_FALSE(e.werte.MitStartordner);
  EXPECT_EQ(e.werte.Ebenen, 2);
  EXPECT_EQ(e.werte.Maske, "*.mp3");
  EXPECT_TRUE(e.werte.NurOrdnerMitDateien);

  // Keys inside a path count on the raw line: "/n" within "/o:d:\\a/nix".
  e = StartEntscheidenText("/o:\"d:\\eigene dateien\\a/nix\"");
  EXPECT_EQ(e.werte.Pfad, "d:\\eigene dateien\\a/nix");
  EXPECT_FALSE(e.werte.NurOrdnerMitDateien);
  EXPECT_EQ(StartEntscheidenText("/o: /e:3.5").werte.Pfad, " ");
  EXPECT_EQ(StartEntscheidenText("/o: /e:3.5").werte.Ebenen, 4);
}

TEST(HilfeVerlangt, OnlyWholeHelpArguments) {
  EXPECT_TRUE(HilfeVerlangt({"--help"}));
  EXPECT_TRUE(HilfeVerlangt({"/o:x", "-h"}));
  EXPECT_FALSE(HilfeVerlangt({}));
  EXPECT_FALSE(HilfeVerlangt({"-help", "--HELP", "/o:-h", "-hx"}));
}
