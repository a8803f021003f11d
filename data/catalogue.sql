-- The delivered catalogue: its structure, the delivered systems and the lookup tables.
-- Built into quillon_6103.mdb at build time and copied into a new data folder at the first start.
-- YesNo columns are INTEGER NOT NULL DEFAULT 0 (true is 1). Names that users see and compare
-- (systems, genres, makers, countries, titles) sort and compare without regard to case.

PRAGMA foreign_keys = OFF;
BEGIN;

CREATE TABLE SystemType (
  ID INTEGER PRIMARY KEY,
  SType TEXT COLLATE NOCASE
);

CREATE TABLE System (
  SystemID INTEGER PRIMARY KEY AUTOINCREMENT,
  System TEXT COLLATE NOCASE,
  SystemShortName TEXT,
  SType INTEGER,
  EnableTab INTEGER NOT NULL DEFAULT 0,
  Emulator TEXT,
  DefaultRomType TEXT,
  Recurse INTEGER NOT NULL DEFAULT 1,
  Rename INTEGER NOT NULL DEFAULT 1,
  DropRoms INTEGER NOT NULL DEFAULT 0,
  RemoveText INTEGER NOT NULL DEFAULT 0,
  RenameImages INTEGER NOT NULL DEFAULT 0,
  DefaultImagePath TEXT,
  DefaultImageType TEXT,
  DefaultImage TEXT,
  SysImg TEXT,
  FullImagePath INTEGER NOT NULL DEFAULT 1,
  FullRomPath INTEGER NOT NULL DEFAULT 1,
  AppendFullName INTEGER NOT NULL DEFAULT 1,
  ImageLimit INTEGER DEFAULT 3,
  MinImgWidth INTEGER DEFAULT 100,
  MinImgHeight INTEGER DEFAULT 100,
  AutoDL INTEGER DEFAULT 80,
  TimeOut INTEGER DEFAULT 10,
  ImageFilter TEXT(255),
  IgnoreMultiples INTEGER NOT NULL DEFAULT 0,
  ResumePosition INTEGER DEFAULT 0,
  dResumePosition INTEGER DEFAULT 0,
  dIgnoreMultiples INTEGER NOT NULL DEFAULT 0,
  dAutoDL INTEGER DEFAULT 100,
  dTimeOut INTEGER DEFAULT 10
);

CREATE TABLE RomPath (
  PathID INTEGER PRIMARY KEY AUTOINCREMENT,
  RomPath TEXT,
  System INTEGER
);
CREATE INDEX RomPathBySystem ON RomPath (System);

CREATE TABLE Games (
  GameID INTEGER PRIMARY KEY AUTOINCREMENT,
  FullName TEXT(255) COLLATE NOCASE,
  FileName TEXT,
  System INTEGER,
  RomPath INTEGER,
  Country INTEGER DEFAULT 1,
  Year INTEGER DEFAULT 42,
  Manufacturer INTEGER DEFAULT 319,
  Genre INTEGER DEFAULT 0,
  Image TEXT,
  Description TEXT,
  Rating INTEGER,
  Selected INTEGER NOT NULL DEFAULT 0,
  Available INTEGER NOT NULL DEFAULT 0,
  Clone INTEGER NOT NULL DEFAULT 0,
  ExtFile TEXT(255),
  Edited INTEGER NOT NULL DEFAULT 0,
  Emulator TEXT
);
CREATE INDEX GamesBySystemFileName ON Games (System, FileName);
CREATE INDEX GamesBySystemFullName ON Games (System, FullName);

CREATE TABLE SubGenres (
  GameID INTEGER,
  GenreID INTEGER
);
CREATE INDEX SubGenresByGame ON SubGenres (GameID);
CREATE INDEX SubGenresByGenre ON SubGenres (GenreID);

CREATE TABLE Genres (
  GenreID INTEGER PRIMARY KEY AUTOINCREMENT,
  GenreName TEXT COLLATE NOCASE
);

CREATE TABLE Country (
  CountryID INTEGER PRIMARY KEY AUTOINCREMENT,
  Country TEXT COLLATE NOCASE,
  goodcode TEXT
);

CREATE TABLE Manufacturer (
  ManufacturerID INTEGER PRIMARY KEY AUTOINCREMENT,
  Manufacturer TEXT COLLATE NOCASE
);

CREATE TABLE Year (
  YearID INTEGER PRIMARY KEY AUTOINCREMENT,
  Year TEXT
);

CREATE TABLE ImageURL (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  SystemID INTEGER,
  URL TEXT
);
CREATE INDEX ImageURLBySystem ON ImageURL (SystemID);

CREATE TABLE IgnoreList (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  SystemID INTEGER,
  URL TEXT,
  SiteURL INTEGER
);
CREATE INDEX IgnoreListBySite ON IgnoreList (SiteURL, SystemID);

CREATE TABLE dURL (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  ScriptName TEXT,
  Script TEXT,
  SystemID INTEGER,
  URL TEXT
);

-- Export options shared by both export dialogs: exactly one row.
CREATE TABLE Inc (
  IncC INTEGER NOT NULL DEFAULT 0,
  IncG INTEGER NOT NULL DEFAULT 0,
  IncM INTEGER NOT NULL DEFAULT 0,
  IncO INTEGER NOT NULL DEFAULT 0,
  IncR INTEGER NOT NULL DEFAULT 0,
  IncS INTEGER NOT NULL DEFAULT 0,
  IncY INTEGER NOT NULL DEFAULT 0,
  IncQ INTEGER NOT NULL DEFAULT 0,
  ExUnk INTEGER NOT NULL DEFAULT 0,
  Alpha INTEGER NOT NULL DEFAULT 0,
  SFile INTEGER NOT NULL DEFAULT 0
);
INSERT INTO Inc (IncC, IncG, IncM, IncO, IncR, IncS, IncY, IncQ, ExUnk, Alpha, SFile)
  VALUES (1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 0);

-- The full ROM path of every game that has a ROM folder; Zinc games start by number instead.
CREATE VIEW File AS
  SELECT Games.GameID,
         CASE WHEN Games.System = (SELECT SystemID FROM System WHERE System = 'Zinc')
              THEN Games.ExtFile
              ELSE coalesce(RomPath.RomPath, '') || coalesce(Games.FileName, '') END AS File
  FROM RomPath INNER JOIN Games ON RomPath.PathID = Games.RomPath;

-- Selected and available games for the .my export: one row per game and genre link.
CREATE VIEW SaveAsMy AS
  SELECT Games.GameID, System.System, Games.FullName, Games.FileName, File.File, Year.Year,
         Manufacturer.Manufacturer, Country.Country, Games.Description, Games.Image AS FirstOfImage,
         System.SystemID,
         CASE WHEN Games.Image IS NULL THEN NULL
              ELSE coalesce(System.DefaultImagePath, '') || Games.Image END AS FullImage,
         Games.Rating, SubGenres.GenreID
  FROM Year
       INNER JOIN Games ON Year.YearID = Games.Year
       INNER JOIN Manufacturer ON Manufacturer.ManufacturerID = Games.Manufacturer
       INNER JOIN System ON System.SystemID = Games.System
       INNER JOIN Country ON Country.CountryID = Games.Country
       INNER JOIN SubGenres ON SubGenres.GameID = Games.GameID
       INNER JOIN File ON Games.GameID = File.GameID
  WHERE Games.Selected <> 0 AND Games.Available <> 0
  GROUP BY Games.GameID, SubGenres.GenreID;

-- Selected and available games for the Meedio export: one row per game with its first genre.
CREATE VIEW SaveAsH2 AS
  SELECT Games.GameID, System.System, Games.FullName, Games.FileName, File.File, Year.Year,
         Manufacturer.Manufacturer, Country.Country, Games.Description, Games.Image AS FirstOfImage,
         System.SystemID,
         CASE WHEN Games.Image IS NULL THEN NULL
              ELSE coalesce(System.DefaultImagePath, '') || Games.Image END AS FullImage,
         Games.Rating,
         (SELECT SubGenres.GenreID FROM SubGenres WHERE SubGenres.GameID = Games.GameID
          ORDER BY SubGenres.rowid LIMIT 1) AS FirstOfGenreID,
         Games.Edited, Games.Emulator AS Emu
  FROM Year
       INNER JOIN Games ON Year.YearID = Games.Year
       INNER JOIN Manufacturer ON Manufacturer.ManufacturerID = Games.Manufacturer
       INNER JOIN System ON System.SystemID = Games.System
       INNER JOIN Country ON Country.CountryID = Games.Country
       INNER JOIN File ON Games.GameID = File.GameID
  WHERE Games.Selected <> 0 AND Games.Available <> 0
    AND EXISTS (SELECT 1 FROM SubGenres WHERE SubGenres.GameID = Games.GameID);

-- Read-only lists of the lookup tables.
CREATE VIEW Countries AS SELECT CountryID, Country FROM Country ORDER BY Country;
CREATE VIEW Manf AS SELECT ManufacturerID, Manufacturer FROM Manufacturer ORDER BY Manufacturer;
CREATE VIEW Years AS SELECT YearID, Year FROM Year ORDER BY Year;
CREATE VIEW genre AS SELECT GenreID AS genreID, GenreName FROM Genres ORDER BY GenreName;

-- System groups; group 4 holds the arcade systems.
INSERT INTO SystemType (ID, SType) VALUES (1, 'Consoles');
INSERT INTO SystemType (ID, SType) VALUES (2, 'Handhelds');
INSERT INTO SystemType (ID, SType) VALUES (3, 'Computers');
INSERT INTO SystemType (ID, SType) VALUES (4, 'Arcade');
INSERT INTO SystemType (ID, SType) VALUES (5, 'Custom');

-- The delivered systems, in the order of their keys. The custom slots start without a tab.
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (1, 'Arcade', 'Arcade', 4, 1, 'zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (2, 'Sega Genesis /32X', 'Gen', 1, 1, 'bin;gen;md;smd;32x;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (3, 'SNES', 'SNES', 1, 1, 'smc;sfc;fig;swc;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (4, 'Turbo Grafix', 'PCE', 1, 1, 'pce;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (5, 'Atari 2600', '2600', 1, 1, 'a26;bin;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (6, 'Atari 5200', '5200', 1, 1, 'a52;bin;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (7, 'Atari 7800', '7800', 1, 1, 'a78;bin;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (8, 'Atari Lynx', 'Lynx', 2, 1, 'lnx;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (9, 'Atari Jaguar', 'Jag', 1, 1, 'j64;jag;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (10, 'Intellivision', 'Intv', 1, 1, 'int;bin;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (11, 'Gameboy', 'GBx', 2, 1, 'gb;gbc;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (12, 'Gameboy Advance', 'GBA', 2, 1, 'gba;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (13, 'Colecovision', 'Col', 1, 1, 'col;rom;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (14, 'MSX 1', 'MSX1', 3, 1, 'rom;mx1;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (15, 'MSX 2', 'MSX2', 3, 1, 'rom;mx2;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (16, 'Neo Geo Pocket', 'NGPx', 2, 1, 'ngp;ngc;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (17, 'Nintendo 64', 'N64', 1, 1, 'n64;v64;z64;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (18, 'Oric/CPC', 'CPC', 3, 1, 'dsk;tap;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (19, 'Sam Coupe', 'SAMC', 3, 1, 'dsk;sad;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (20, 'Sega Game Gear', 'GG', 2, 1, 'gg;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (21, 'Sega Master', 'SMS', 1, 1, 'sms;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (22, 'Supervision', 'SV', 2, 1, 'sv;bin;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (23, 'Tandy CoCo', 'CoCo', 3, 1, 'ccc;rom;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (24, 'Thomson MO5', 'MO5', 3, 1, 'k7;fd;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (25, 'Virtual Boy', 'VBoy', 2, 1, 'vb;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (26, 'Vectrex', 'Vect', 1, 1, 'vec;bin;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (27, 'Wonderswan', 'WSx', 2, 1, 'ws;wsc;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (28, 'Memotech MTX', 'MTX', 3, 1, 'mtx;run;zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (29, 'Custom 1', 'Custom1', 5, 0, 'zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (30, 'Custom 2', 'Custom2', 5, 0, 'zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (31, 'Custom 3', 'Custom3', 5, 0, 'zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (32, 'Custom 4', 'Custom4', 5, 0, 'zip', 'jpg;png;gif;bmp');
INSERT INTO System (SystemID, System, SystemShortName, SType, EnableTab, DefaultRomType, DefaultImageType) VALUES (33, 'Custom 5', 'Custom5', 5, 0, 'zip', 'jpg;png;gif;bmp');

-- Countries with their GoodTools region codes: codes separated by ";", a list ending in ";".
-- Row 1 is the unknown country.
INSERT INTO Country (CountryID, Country, goodcode) VALUES (1, '[Unknown]', 'Unk');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (2, 'USA', 'U;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (3, 'Europe', 'E;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (4, 'Japan', 'J;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (5, 'USA/Europe', 'UE;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (6, 'Japan/USA', 'JU;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (7, 'Japan/Europe', 'JE;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (8, 'Japan/USA/Europe', 'JUE;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (9, 'World', 'W;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (10, 'Asia', 'As;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (11, 'Australia', 'A;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (12, 'Brazil', 'B;Br;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (13, 'Canada', 'Can;FC;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (14, 'China', 'C;Ch;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (15, 'France', 'F;Fr;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (16, 'Germany', 'G;De;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (17, 'Holland', 'H;D;NL;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (18, 'Italy', 'I;It;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (19, 'Korea', 'K;Kr;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (20, 'Spain', 'S;Es;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (21, 'Sweden', 'Sw;SW;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (22, 'Taiwan', 'Tw;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (23, 'Hong Kong', 'HK;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (24, 'Public Domain', 'PD;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (25, 'Japan & Korea', '1;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (26, 'USA & Brazil', '4;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (27, 'NTSC', '5;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (28, 'PAL', '8;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (29, 'United Kingdom', 'UK;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (30, 'Finland', 'FN;Fi;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (31, 'Greece', 'GR;Gr;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (32, 'Russia', 'R;Ru;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (33, 'Scandinavia', 'Sc;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (34, 'Norway', 'No;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (35, 'Denmark', 'Dk;');
INSERT INTO Country (CountryID, Country, goodcode) VALUES (36, 'Portugal', 'Pt;');

-- Genres; row 1 is the unknown genre.
INSERT INTO Genres (GenreID, GenreName) VALUES (1, '[Unknown]');
INSERT INTO Genres (GenreID, GenreName) VALUES (2, 'Action');
INSERT INTO Genres (GenreID, GenreName) VALUES (3, 'Adventure');
INSERT INTO Genres (GenreID, GenreName) VALUES (4, 'Beat''em Up');
INSERT INTO Genres (GenreID, GenreName) VALUES (5, 'Bios');
INSERT INTO Genres (GenreID, GenreName) VALUES (6, 'Board Game');
INSERT INTO Genres (GenreID, GenreName) VALUES (7, 'Breakout');
INSERT INTO Genres (GenreID, GenreName) VALUES (8, 'Card Game');
INSERT INTO Genres (GenreID, GenreName) VALUES (9, 'Casino');
INSERT INTO Genres (GenreID, GenreName) VALUES (10, 'Climbing');
INSERT INTO Genres (GenreID, GenreName) VALUES (11, 'Driving');
INSERT INTO Genres (GenreID, GenreName) VALUES (12, 'Educational');
INSERT INTO Genres (GenreID, GenreName) VALUES (13, 'Fighter');
INSERT INTO Genres (GenreID, GenreName) VALUES (14, 'Mahjong');
INSERT INTO Genres (GenreID, GenreName) VALUES (15, 'Maze');
INSERT INTO Genres (GenreID, GenreName) VALUES (16, 'Misc');
INSERT INTO Genres (GenreID, GenreName) VALUES (17, 'Pinball');
INSERT INTO Genres (GenreID, GenreName) VALUES (18, 'Platform');
INSERT INTO Genres (GenreID, GenreName) VALUES (19, 'Puzzle');
INSERT INTO Genres (GenreID, GenreName) VALUES (20, 'Puzzle/Tetris');
INSERT INTO Genres (GenreID, GenreName) VALUES (21, 'Quiz');
INSERT INTO Genres (GenreID, GenreName) VALUES (22, 'Racing');
INSERT INTO Genres (GenreID, GenreName) VALUES (23, 'Rhythm');
INSERT INTO Genres (GenreID, GenreName) VALUES (24, 'RPG');
INSERT INTO Genres (GenreID, GenreName) VALUES (25, 'Shooter');
INSERT INTO Genres (GenreID, GenreName) VALUES (26, 'Shooter/Aircraft');
INSERT INTO Genres (GenreID, GenreName) VALUES (27, 'Shooter/Gun');
INSERT INTO Genres (GenreID, GenreName) VALUES (28, 'Shooter/Space');
INSERT INTO Genres (GenreID, GenreName) VALUES (29, 'Simulation');
INSERT INTO Genres (GenreID, GenreName) VALUES (30, 'Sports');
INSERT INTO Genres (GenreID, GenreName) VALUES (31, 'Sports/Baseball');
INSERT INTO Genres (GenreID, GenreName) VALUES (32, 'Sports/Basketball');
INSERT INTO Genres (GenreID, GenreName) VALUES (33, 'Sports/Boxing');
INSERT INTO Genres (GenreID, GenreName) VALUES (34, 'Sports/Football');
INSERT INTO Genres (GenreID, GenreName) VALUES (35, 'Sports/Golf');
INSERT INTO Genres (GenreID, GenreName) VALUES (36, 'Sports/Hockey');
INSERT INTO Genres (GenreID, GenreName) VALUES (37, 'Sports/Soccer');
INSERT INTO Genres (GenreID, GenreName) VALUES (38, 'Sports/Tennis');
INSERT INTO Genres (GenreID, GenreName) VALUES (39, 'Sports/Wrestling');
INSERT INTO Genres (GenreID, GenreName) VALUES (40, 'Strategy');
INSERT INTO Genres (GenreID, GenreName) VALUES (41, 'Tabletop');

-- Manufacturers; row 319 is the unknown manufacturer.
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (1, '8ing');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (2, 'Absolute Entertainment');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (3, 'Acclaim');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (4, 'Accolade');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (5, 'Activision');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (6, 'ADK');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (7, 'Agetec');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (8, 'Aicom');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (9, 'Aicom/ADK');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (10, 'Allumer');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (11, 'Alpha Denshi');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (12, 'Alpha Denshi/SNK');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (13, 'American Laser Games');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (14, 'American Sammy');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (15, 'American Softworks');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (16, 'Amstrad');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (17, 'Amtex');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (18, 'Angel');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (19, 'Aqua Pacific');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (20, 'Arc System Works');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (21, 'Arika');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (22, 'Art & Magic');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (23, 'ASCII');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (24, 'Ask');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (25, 'Asmik');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (26, 'Asuka');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (27, 'Atari');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (28, 'Atari Games');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (29, 'Athena');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (30, 'Athlete');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (31, 'Atlus');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (32, 'Axela/Namco');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (33, 'Bally');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (34, 'Bally Midway');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (35, 'Bally Sente');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (36, 'Banalex');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (37, 'Bandai');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (38, 'Bandai Namco');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (39, 'Banpresto');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (40, 'Bit Managers');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (41, 'Bitmap Brothers');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (42, 'Blue Byte');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (43, 'Bomber');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (44, 'BPS');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (45, 'Brøderbund');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (46, 'Bullet-Proof Software');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (47, 'Bungie');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (48, 'Capcom');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (49, 'Capcom/Arika');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (50, 'Cave');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (51, 'Centuri');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (52, 'Cinematronics');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (53, 'Cinemaware');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (54, 'Cinemaware Europe');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (55, 'Codemasters');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (56, 'Coleco');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (57, 'Compile');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (58, 'Core Design');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (59, 'Crave');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (60, 'Crystal Dynamics');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (61, 'Culture Brain');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (62, 'Cyberdreams');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (63, 'Data Design');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (64, 'Data East');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (65, 'Datasoft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (66, 'Datel');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (67, 'Dempa');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (68, 'Dinamic');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (69, 'Domark');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (70, 'Dooyong');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (71, 'DreamWorks Interactive');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (72, 'Eidos');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (73, 'Eighting');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (74, 'Electro Brain');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (75, 'Electrocoin');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (76, 'Electronic Arts');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (77, 'Electronic Arts Victor');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (78, 'Elite Systems');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (79, 'Empire');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (80, 'Enix');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (81, 'Entex');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (82, 'Epoch');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (83, 'Epyx');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (84, 'Exact');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (85, 'Exidy');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (86, 'Face');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (87, 'Falcom');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (88, 'Firebird');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (89, 'Fox Interactive');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (90, 'Funcom');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (91, 'Fuuki');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (92, 'Gaelco');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (93, 'Gainax');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (94, 'Gakken');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (95, 'Game Arts');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (96, 'Game Freak');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (97, 'Gametec');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (98, 'GameTek');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (99, 'Genki');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (100, 'Gottlieb');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (101, 'Graftgold');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (102, 'Gremlin Graphics');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (103, 'GT Interactive');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (104, 'Hal Laboratory');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (105, 'Hammond');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (106, 'Hasbro Interactive');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (107, 'Hect');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (108, 'Hewson');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (109, 'Hi Tech Expressions');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (110, 'Hi-Score Media Work');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (111, 'Hot-B');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (112, 'HotB');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (113, 'Hudson');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (114, 'Hudson Soft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (115, 'Hudson/Red');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (116, 'Human Entertainment');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (117, 'Ignition');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (118, 'IGS');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (119, 'Imagic');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (120, 'Imagine');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (121, 'Imagineer');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (122, 'Incredible Technologies');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (123, 'Infogrames');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (124, 'Intellivision Productions');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (125, 'Interactive Magic');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (126, 'Interplay');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (127, 'Irem');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (128, 'Irem America');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (129, 'Jaleco');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (130, 'Jordan Freeman');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (131, 'Jorudan');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (132, 'JVC');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (133, 'Kaneko');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (134, 'Kaneko/Atlus');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (135, 'Kaze');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (136, 'Kemco');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (137, 'Kid');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (138, 'Koei');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (139, 'Konami');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (140, 'Kotobuki System');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (141, 'Krisalis');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (142, 'Kure Software');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (143, 'Kyugo');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (144, 'Lankhor');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (145, 'Laser Beam');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (146, 'LJN');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (147, 'Loriciel');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (148, 'Lucasfilm Games');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (149, 'Magical Company');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (150, 'Magnavox');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (151, 'Masaya');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (152, 'Mastertronic');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (153, 'Matchbox');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (154, 'Matra');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (155, 'Mattel');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (156, 'Maxis');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (157, 'Meldac');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (158, 'Memotech');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (159, 'Micro Cabin');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (160, 'Micronet');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (161, 'Microprose');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (162, 'Microsoft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (163, 'Midway');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (164, 'Milton Bradley');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (165, 'Mindscape');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (166, 'Mirrorsoft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (167, 'Mitchell');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (168, 'Mitchell/Capcom');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (169, 'Namco');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (170, 'Namco/Bandai');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (171, 'Natsume');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (172, 'Naxat Soft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (173, 'Nazca');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (174, 'NEC');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (175, 'Nexoft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (176, 'Nichibutsu');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (177, 'Nichibutsu USA');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (178, 'Nihon Bussan');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (179, 'Nihon Falcom');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (180, 'Nintendo');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (181, 'Nintendo of America');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (182, 'Nintendo/Rare');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (183, 'Nixxo');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (184, 'NMK');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (185, 'Noise Factory');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (186, 'Nova Games');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (187, 'Now Production');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (188, 'Ocean');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (189, 'Ocean of America');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (190, 'Ocean/Imagine');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (191, 'Opera House');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (192, 'Orca');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (193, 'Oriental Soft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (194, 'Origin Systems');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (195, 'Pack In Video');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (196, 'Pack-In-Video');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (197, 'Palcom');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (198, 'Panasonic');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (199, 'Pandora Box');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (200, 'Parker Brothers');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (201, 'Pax Softnica');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (202, 'Philips');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (203, 'Pixel');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (204, 'Playmates');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (205, 'Pony Canyon');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (206, 'Psikyo');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (207, 'Psygnosis');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (208, 'Quest');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (209, 'Quintet');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (210, 'Radio Shack');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (211, 'Raizing');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (212, 'Raizing/Eighting');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (213, 'Rare');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (214, 'Red Company');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (215, 'Riverhill Soft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (216, 'Romstar');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (217, 'Sachen');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (218, 'Sage''s Creation');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (219, 'Sales Curve');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (220, 'Sam Coupe Scene');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (221, 'Sammy');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (222, 'Sanritsu');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (223, 'Sanyo');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (224, 'Saurus');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (225, 'Sega');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (226, 'Sega/Falcom');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (227, 'Seibu Kaihatsu');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (228, 'Seika');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (229, 'Seta');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (230, 'Shoeisha');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (231, 'Sierra');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (232, 'Sigma');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (233, 'Simulations Canada');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (234, 'SNK');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (235, 'SNK Playmore');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (236, 'SNK/ADK');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (237, 'Sofel');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (238, 'Software Creations');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (239, 'Software Projects');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (240, 'Sony');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (241, 'Sony Imagesoft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (242, 'Spectravideo');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (243, 'Spectrum');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (244, 'Spectrum Holobyte');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (245, 'Square');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (246, 'Star Craft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (247, 'Stern');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (248, 'Sting');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (249, 'Success');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (250, 'Sunrise Interactive');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (251, 'Sunsoft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (252, 'Sunsoft of America');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (253, 'Sunsoft/SNK');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (254, 'Sunsoft/Taito');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (255, 'System 3');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (256, 'System Soft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (257, 'T&E Soft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (258, 'Taito');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (259, 'Takara');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (260, 'Takumi');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (261, 'Tandy');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (262, 'Taxan');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (263, 'Team17');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (264, 'Technos');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (265, 'Technosoft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (266, 'Tecmagik');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (267, 'Tecmo');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (268, 'Tecnosoft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (269, 'Tehkan');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (270, 'Teichiku');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (271, 'Telenet');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (272, 'Telstar');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (273, 'Tengen');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (274, 'Thalion');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (275, 'Thomson');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (276, 'THQ');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (277, 'Titus');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (278, 'TNN');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (279, 'Toaplan');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (280, 'Toaplan/Taito');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (281, 'Toei');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (282, 'Toei Animation');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (283, 'Toho');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (284, 'Tokuma Shoten');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (285, 'Tomy');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (286, 'Tonkin House');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (287, 'Tose');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (288, 'Toshiba EMI');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (289, 'Towa Chiki');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (290, 'Tradewest');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (291, 'Treasure');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (292, 'Triffix');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (293, 'Twilight');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (294, 'Ubisoft');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (295, 'Uhu');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (296, 'Ultimate Play The Game');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (297, 'Unique');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (298, 'Universal');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (299, 'UPL');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (300, 'US Gold');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (301, 'Valadon Automation');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (302, 'Vap');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (303, 'Varie');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (304, 'Vectordean');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (305, 'Vectrex');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (306, 'Viacom New Media');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (307, 'Vic Tokai');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (308, 'Vic Tokai/Aicom');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (309, 'Victor');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (310, 'Video System Co.');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (311, 'Video Technology');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (312, 'Video Ware');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (313, 'Virgin');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (314, 'Virgin Games');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (315, 'Visco');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (316, 'Visco/SNK');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (317, 'Visual Concepts');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (318, 'Vivid Image');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (319, '[Unknown]');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (320, 'Watara');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (321, 'Westone');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (322, 'Williams');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (323, 'Wolf Team');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (324, 'Working Designs');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (325, 'Xing');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (326, 'Yanoman');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (327, 'Yonezawa');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (328, 'Yutaka');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (329, 'Zaccaria');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (330, 'Zap Corporation');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (331, 'Zeboyd');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (332, 'Zeppelin Games');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (333, 'Zilec');
INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (334, 'Zoom');

-- Years as texts; row 42 is the unknown year.
INSERT INTO Year (YearID, Year) VALUES (1, '1960');
INSERT INTO Year (YearID, Year) VALUES (2, '1961');
INSERT INTO Year (YearID, Year) VALUES (3, '1962');
INSERT INTO Year (YearID, Year) VALUES (4, '1963');
INSERT INTO Year (YearID, Year) VALUES (5, '1964');
INSERT INTO Year (YearID, Year) VALUES (6, '1965');
INSERT INTO Year (YearID, Year) VALUES (7, '1966');
INSERT INTO Year (YearID, Year) VALUES (8, '1967');
INSERT INTO Year (YearID, Year) VALUES (9, '1968');
INSERT INTO Year (YearID, Year) VALUES (10, '1969');
INSERT INTO Year (YearID, Year) VALUES (11, '1970');
INSERT INTO Year (YearID, Year) VALUES (12, '1971');
INSERT INTO Year (YearID, Year) VALUES (13, '1972');
INSERT INTO Year (YearID, Year) VALUES (14, '1973');
INSERT INTO Year (YearID, Year) VALUES (15, '1974');
INSERT INTO Year (YearID, Year) VALUES (16, '1975');
INSERT INTO Year (YearID, Year) VALUES (17, '1976');
INSERT INTO Year (YearID, Year) VALUES (18, '1977');
INSERT INTO Year (YearID, Year) VALUES (19, '1978');
INSERT INTO Year (YearID, Year) VALUES (20, '1979');
INSERT INTO Year (YearID, Year) VALUES (21, '1980');
INSERT INTO Year (YearID, Year) VALUES (22, '1981');
INSERT INTO Year (YearID, Year) VALUES (23, '1982');
INSERT INTO Year (YearID, Year) VALUES (24, '1983');
INSERT INTO Year (YearID, Year) VALUES (25, '1984');
INSERT INTO Year (YearID, Year) VALUES (26, '1985');
INSERT INTO Year (YearID, Year) VALUES (27, '1986');
INSERT INTO Year (YearID, Year) VALUES (28, '1987');
INSERT INTO Year (YearID, Year) VALUES (29, '1988');
INSERT INTO Year (YearID, Year) VALUES (30, '1989');
INSERT INTO Year (YearID, Year) VALUES (31, '1990');
INSERT INTO Year (YearID, Year) VALUES (32, '1991');
INSERT INTO Year (YearID, Year) VALUES (33, '1992');
INSERT INTO Year (YearID, Year) VALUES (34, '1993');
INSERT INTO Year (YearID, Year) VALUES (35, '1994');
INSERT INTO Year (YearID, Year) VALUES (36, '1995');
INSERT INTO Year (YearID, Year) VALUES (37, '1996');
INSERT INTO Year (YearID, Year) VALUES (38, '1997');
INSERT INTO Year (YearID, Year) VALUES (39, '1998');
INSERT INTO Year (YearID, Year) VALUES (40, '1999');
INSERT INTO Year (YearID, Year) VALUES (41, '2000');
INSERT INTO Year (YearID, Year) VALUES (42, '[Unknown]');
INSERT INTO Year (YearID, Year) VALUES (43, '2001');
INSERT INTO Year (YearID, Year) VALUES (44, '2002');
INSERT INTO Year (YearID, Year) VALUES (45, '2003');
INSERT INTO Year (YearID, Year) VALUES (46, '2004');
INSERT INTO Year (YearID, Year) VALUES (47, '2005');
INSERT INTO Year (YearID, Year) VALUES (48, '2006');
INSERT INTO Year (YearID, Year) VALUES (49, '2007');
INSERT INTO Year (YearID, Year) VALUES (50, '2008');
INSERT INTO Year (YearID, Year) VALUES (51, '2009');
INSERT INTO Year (YearID, Year) VALUES (52, '2010');
INSERT INTO Year (YearID, Year) VALUES (53, '2011');
INSERT INTO Year (YearID, Year) VALUES (54, '2012');
INSERT INTO Year (YearID, Year) VALUES (55, '2013');
INSERT INTO Year (YearID, Year) VALUES (56, '2014');
INSERT INTO Year (YearID, Year) VALUES (57, '2015');
INSERT INTO Year (YearID, Year) VALUES (58, '2016');
INSERT INTO Year (YearID, Year) VALUES (59, '2017');
INSERT INTO Year (YearID, Year) VALUES (60, '2018');
INSERT INTO Year (YearID, Year) VALUES (61, '2019');
INSERT INTO Year (YearID, Year) VALUES (62, '2020');
INSERT INTO Year (YearID, Year) VALUES (63, '2021');
INSERT INTO Year (YearID, Year) VALUES (64, '2022');
INSERT INTO Year (YearID, Year) VALUES (65, '2023');
INSERT INTO Year (YearID, Year) VALUES (66, '2024');
INSERT INTO Year (YearID, Year) VALUES (67, '2025');
INSERT INTO Year (YearID, Year) VALUES (68, '2026');
INSERT INTO Year (YearID, Year) VALUES (69, '19xx');
INSERT INTO Year (YearID, Year) VALUES (70, '198x');
INSERT INTO Year (YearID, Year) VALUES (71, '199x');
INSERT INTO Year (YearID, Year) VALUES (72, '200x');

COMMIT;
