-- Razarivu database, PostgreSQL: the tables of schema.sql for a server several desks share.
--
-- The program's SQL texts are the same on both bases, so the server is made to read them as
-- SQLite does:
-- - names are unquoted, hence lower case: "DateFin", DateFin and datefin are one column;
-- - dates are text "yyyy-MM-dd HH:mm:ss" (domain datetime), compared and sorted as text;
-- - Booleans are 0 or 1 (domain booleen), so that "= True" translated to "= 1" finds them;
-- - every table has a rowid, given in insertion order: ETATS and OBJETS are read in that order
--   (the texts of the program say "ORDER BY rowid" where SQLite needs none), and record sets
--   find a row by it; for RESERVATIONS it is the reservation number itself;
-- - iif, ifnull, group_concat and julianday, which SQLite has built in, are defined here.

CREATE DOMAIN datetime AS TEXT;
CREATE DOMAIN booleen AS SMALLINT;

CREATE FUNCTION iif(condition BOOLEAN, alors ANYCOMPATIBLE, sinon ANYCOMPATIBLE)
RETURNS ANYCOMPATIBLE LANGUAGE SQL IMMUTABLE
AS 'SELECT CASE WHEN condition THEN alors ELSE sinon END';

CREATE FUNCTION ifnull(valeur ANYCOMPATIBLE, sinon ANYCOMPATIBLE)
RETURNS ANYCOMPATIBLE LANGUAGE SQL IMMUTABLE
AS 'SELECT coalesce(valeur, sinon)';

CREATE FUNCTION julianday(moment TEXT) RETURNS DOUBLE PRECISION LANGUAGE SQL IMMUTABLE
AS 'SELECT extract(epoch FROM moment::timestamp) / 86400.0 + 2440587.5';

CREATE FUNCTION razarivu_concat(acc TEXT, valeur ANYELEMENT, separateur TEXT)
RETURNS TEXT LANGUAGE SQL IMMUTABLE
AS 'SELECT CASE WHEN valeur IS NULL THEN acc WHEN acc IS NULL THEN valeur::text
                ELSE acc || separateur || valeur::text END';
CREATE FUNCTION razarivu_concat(acc TEXT, valeur ANYELEMENT)
RETURNS TEXT LANGUAGE SQL IMMUTABLE
AS 'SELECT razarivu_concat(acc, valeur, '','')';
CREATE AGGREGATE group_concat(ANYELEMENT, TEXT) (SFUNC = razarivu_concat, STYPE = TEXT);
CREATE AGGREGATE group_concat(ANYELEMENT) (SFUNC = razarivu_concat, STYPE = TEXT);

CREATE TABLE ETATS (
    rowid BIGSERIAL UNIQUE,
    Code INTEGER NOT NULL UNIQUE,
    Nom TEXT,
    CouleurPrincipale INTEGER,
    surinternet booleen NOT NULL DEFAULT 0,
    internet INTEGER GENERATED ALWAYS AS (CASE WHEN surinternet <> 0 THEN 1 ELSE 0 END) STORED,
    occupe booleen NOT NULL DEFAULT 1
);

CREATE TABLE OBJETS (
    rowid BIGSERIAL UNIQUE,
    Numero INTEGER NOT NULL UNIQUE,
    Nom TEXT,
    NomInternet TEXT NULL,
    FichierPlanningHTML TEXT NULL,
    Categorie TEXT NULL,
    Capacite INTEGER NULL,
    retire booleen NOT NULL DEFAULT 0
);

CREATE TABLE RESERVATIONS (
    NumeroReservation INTEGER PRIMARY KEY,
    rowid BIGINT GENERATED ALWAYS AS (NumeroReservation) STORED,
    Objet INTEGER,
    nomclient TEXT,
    DateDebut datetime,
    DateFin datetime,
    arrhes DOUBLE PRECISION,
    datelimite datetime NULL,
    Etat INTEGER,
    nbadultes SMALLINT,
    nbenfants SMALLINT,
    remarque TEXT,
    telephone TEXT,
    email TEXT,
    version INTEGER NOT NULL DEFAULT 0
);

-- A row added without its number gets the highest + 1, as SQLite numbers it; the program writes
-- the number itself, under the writers' lock.
CREATE FUNCTION razarivu_numero() RETURNS INTEGER LANGUAGE SQL VOLATILE
AS 'SELECT coalesce(max(numeroreservation), 0) + 1 FROM reservations';
ALTER TABLE RESERVATIONS ALTER COLUMN NumeroReservation SET DEFAULT razarivu_numero();

-- The same reach as schema.sql's ReservationsParPortee, for the planning's query.
CREATE INDEX ReservationsParPortee ON RESERVATIONS (
    Objet,
    iif(DateFin IS NULL, '9999-12-31 00:00:00', iif(DateFin < DateDebut, DateDebut, DateFin))
);
CREATE INDEX ReservationsParArrivee ON RESERVATIONS (DateDebut);
CREATE INDEX ReservationsParDepart ON RESERVATIONS (DateFin);

-- Every store of a reservation counts, whoever makes it.
CREATE FUNCTION razarivu_version() RETURNS TRIGGER LANGUAGE plpgsql AS $$
BEGIN
    IF NEW.version IS NOT DISTINCT FROM OLD.version THEN
        NEW.version := OLD.version + 1;
    END IF;
    RETURN NEW;
END
$$;
CREATE TRIGGER ReservationsVersion BEFORE UPDATE ON RESERVATIONS
FOR EACH ROW EXECUTE FUNCTION razarivu_version();

CREATE TABLE OPERATIONS (
    rowid BIGSERIAL UNIQUE,
    numeroreservation INTEGER,
    date datetime,
    prix DOUBLE PRECISION,
    paiement TEXT,
    libelle TEXT,
    sequence BIGINT NULL,
    empreinte TEXT NULL
);

CREATE INDEX OperationsParReservation ON OPERATIONS (numeroreservation, date);
CREATE UNIQUE INDEX OperationsParSequence ON OPERATIONS (sequence);

CREATE TABLE CONSOMMATIONS (
    rowid BIGSERIAL UNIQUE,
    Famille TEXT,
    Libelle TEXT,
    prixTTC DOUBLE PRECISION,
    TauxTVA INTEGER NOT NULL DEFAULT 1000
);

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

-- The other desks hear of every change, to redraw their plannings.
CREATE FUNCTION razarivu_signaler() RETURNS TRIGGER LANGUAGE plpgsql AS $$
BEGIN
    NOTIFY razarivu;
    RETURN NULL;
END
$$;
CREATE TRIGGER EtatsSignales AFTER INSERT OR UPDATE OR DELETE ON ETATS
FOR EACH STATEMENT EXECUTE FUNCTION razarivu_signaler();
CREATE TRIGGER ObjetsSignales AFTER INSERT OR UPDATE OR DELETE ON OBJETS
FOR EACH STATEMENT EXECUTE FUNCTION razarivu_signaler();
CREATE TRIGGER ReservationsSignalees AFTER INSERT OR UPDATE OR DELETE ON RESERVATIONS
FOR EACH STATEMENT EXECUTE FUNCTION razarivu_signaler();
CREATE TRIGGER OperationsSignalees AFTER INSERT OR UPDATE OR DELETE ON OPERATIONS
FOR EACH STATEMENT EXECUTE FUNCTION razarivu_signaler();
CREATE TRIGGER ConsommationsSignalees AFTER INSERT OR UPDATE OR DELETE ON CONSOMMATIONS
FOR EACH STATEMENT EXECUTE FUNCTION razarivu_signaler();

-- The version of these tables, as PRAGMA user_version holds it in an SQLite file.
CREATE TABLE razarivu_version (version INTEGER NOT NULL);
INSERT INTO razarivu_version VALUES (4);
