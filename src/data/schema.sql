-- Razarivu database, SQLite.
--
-- Dates are text "yyyy-MM-dd HH:mm:ss" declared DATETIME: the text compares and sorts like the
-- date, and the declared type tells the record sets which columns to hand back as dates.
-- Booleans are stored 0 or 1, so a translated "= True" (= 1) finds them.
-- No foreign keys: the program keeps no relation between the tables, and a reservation deleted
-- leaves its journal rows behind.

-- States are read in table order (no ORDER BY): that order is the state list and the default
-- state of a new reservation is its first entry. Code is therefore a plain unique column and not
-- the rowid, so the order stays the order of insertion whatever the codes.
-- "internet" (shown by the settings dialog) and "surinternet" (filtered on by the web calendar)
-- are one flag under two names: the generated column can never disagree with its source.
-- "occupe": a stay in this state holds its object for its nights (a cancelled one does not).
CREATE TABLE ETATS (
    Code INTEGER NOT NULL UNIQUE,
    Nom TEXT,
    CouleurPrincipale INTEGER,
    surinternet BOOLEAN NOT NULL DEFAULT 0,
    internet INTEGER GENERATED ALWAYS AS (surinternet <> 0) VIRTUAL,
    occupe BOOLEAN NOT NULL DEFAULT 1
);

-- Table order (the rowid) is the order of the planning lines: moving an object up or down in
-- the settings exchanges rowids. A retired object ("retire") keeps its stays but is neither
-- drawn nor published.
CREATE TABLE OBJETS (
    Numero INTEGER NOT NULL UNIQUE,
    Nom TEXT,
    NomInternet TEXT NULL,
    FichierPlanningHTML TEXT NULL,
    Categorie TEXT NULL,
    Capacite INTEGER NULL,
    retire BOOLEAN NOT NULL DEFAULT 0
);

-- NumeroReservation is the rowid: without AUTOINCREMENT SQLite numbers a new row one more than
-- the highest number present (1 in an empty table), which is what the reservation dialog
-- predicts with its Max() query.
CREATE TABLE RESERVATIONS (
    NumeroReservation INTEGER PRIMARY KEY,
    Objet INTEGER,
    nomclient TEXT,
    DateDebut DATETIME,
    DateFin DATETIME,
    arrhes DOUBLE,
    datelimite DATETIME NULL,
    Etat INTEGER,
    nbadultes SMALLINT,
    nbenfants SMALLINT,
    remarque TEXT,
    telephone TEXT,
    email TEXT,
    version INTEGER NOT NULL DEFAULT 0
);

-- "version" counts the stores of a reservation, whoever makes them (this program, an older copy
-- of it at another desk, a hand-made UPDATE): a desk that opened the stay at one version stores
-- over it only knowingly.
CREATE TRIGGER ReservationsVersion AFTER UPDATE ON RESERVATIONS
WHEN NEW.version IS OLD.version
BEGIN
    UPDATE RESERVATIONS SET version = OLD.version + 1
    WHERE NumeroReservation = NEW.NumeroReservation;
END;

-- The planning reads one line at a time and only the stays whose bar can still reach its first
-- day: the later of arrival and departure, or every day when the departure is missing. Indexed
-- on that reach, years of past stays are skipped rather than read. The expression must stay the
-- one the planning's query writes (TextesSQL::reservationsDeLObjet) or the index goes unused.
CREATE INDEX ReservationsParPortee ON RESERVATIONS (
    Objet,
    IIf("DateFin" Is Null, '9999-12-31 00:00:00',
        IIf("DateFin"<"DateDebut", "DateDebut", "DateFin"))
);

-- The day's arrivals and departures are sought by the date alone, whatever the object.
CREATE INDEX ReservationsParArrivee ON RESERVATIONS (DateDebut);
CREATE INDEX ReservationsParDepart ON RESERVATIONS (DateFin);

-- The writers pass the reservation number as a floating-point value; integer affinity stores
-- 12.0 as 12, so the readers' "= 12" finds it. Amounts keep their cents as doubles.
-- "sequence" and "empreinte" chain the rows (ChaineJournal): the journal is never updated nor
-- deleted from, and a row altered by hand shows.
CREATE TABLE OPERATIONS (
    numeroreservation INTEGER,
    date DATETIME,
    prix DOUBLE,
    paiement TEXT,
    libelle TEXT,
    sequence BIGINT NULL,
    empreinte TEXT NULL
);

CREATE INDEX OperationsParReservation ON OPERATIONS (numeroreservation, date);
CREATE UNIQUE INDEX OperationsParSequence ON OPERATIONS (sequence);

-- The VAT rate in hundredths of a percent (1000 is 10 %), whole so that taxes come out in
-- whole cents.
CREATE TABLE CONSOMMATIONS (
    Famille TEXT,
    Libelle TEXT,
    prixTTC DOUBLE,
    TauxTVA INTEGER NOT NULL DEFAULT 1000
);

-- A reservation with the names of its object and its state; LEFT JOIN so that a reservation
-- whose object or state has gone is still found.
CREATE VIEW RESERVATION_NOMINATIVE AS
SELECT RESERVATIONS.NumeroReservation AS NumeroReservation,
       RESERVATIONS.nomclient AS nomclient,
       RESERVATIONS.Objet AS Objet,
       OBJETS.Nom AS NomObjet,
       RESERVATIONS.DateDebut AS DateDebut,
       RESERVATIONS.DateFin AS DateFin,
       RESERVATIONS.Etat AS Etat,
       ETATS.Nom AS NomEtat,
       RESERVATIONS.arrhes AS arrhes,
       RESERVATIONS.datelimite AS datelimite,
       RESERVATIONS.nbadultes AS nbadultes,
       RESERVATIONS.nbenfants AS nbenfants,
       RESERVATIONS.telephone AS telephone,
       RESERVATIONS.email AS email
FROM RESERVATIONS
LEFT JOIN OBJETS ON OBJETS.Numero = RESERVATIONS.Objet
LEFT JOIN ETATS ON ETATS.Code = RESERVATIONS.Etat;

-- The version of these tables (VersionSchema::Courante); earlier files are brought up to it when
-- the program opens them.
PRAGMA user_version = 4;
