-- Version 5 of the tables: what a stay costs and the papers it gets. Run by the creation of a
-- base after schema.sql and by the upgrade of a version 4 file, so both end with the same tables.
-- Every statement may meet its table already there (a file put back to an earlier version by
-- hand). Money is in whole cents (INTEGER), VAT rates in hundredths of a percent (1000 is 10 %).

-- A season of one category ("Categorie" of OBJETS, empty for objects without one): its nights
-- from "debut" to "fin" included, at "prixnuit" for "personnes" persons, VAT included.
CREATE TABLE IF NOT EXISTS SAISONS (
    Categorie TEXT NOT NULL DEFAULT '',
    debut DATETIME NOT NULL,
    fin DATETIME NOT NULL,
    prixnuit INTEGER NOT NULL,
    personnes INTEGER NOT NULL DEFAULT 2,
    supplementadulte INTEGER NOT NULL DEFAULT 0,
    supplementenfant INTEGER NOT NULL DEFAULT 0,
    tauxtva INTEGER NOT NULL DEFAULT 1000
);
CREATE INDEX IF NOT EXISTS SaisonsParCategorie ON SAISONS (Categorie, debut);

-- The catalogue of services. "unite": 0 per night, 1 per stay, 2 per person and night. A
-- retired service stays for the stays that chose it but is offered no more.
CREATE TABLE IF NOT EXISTS PRESTATIONS (
    Numero INTEGER NOT NULL UNIQUE,
    Libelle TEXT NOT NULL,
    prix INTEGER NOT NULL,
    unite INTEGER NOT NULL DEFAULT 0,
    tauxtva INTEGER NOT NULL DEFAULT 1000,
    retire BOOLEAN NOT NULL DEFAULT 0
);

-- The services a stay chose, with their quantities.
CREATE TABLE IF NOT EXISTS PRESTATIONSSEJOUR (
    numeroreservation INTEGER NOT NULL,
    prestation INTEGER NOT NULL,
    quantite INTEGER NOT NULL DEFAULT 1,
    UNIQUE (numeroreservation, prestation)
);

-- Adults of a stay exempt from the tourist tax beyond its children (who all are).
CREATE TABLE IF NOT EXISTS EXONERATIONS (
    numeroreservation INTEGER NOT NULL UNIQUE,
    adultes INTEGER NOT NULL DEFAULT 0
);

-- Invoices and credit notes as issued: "numero" is "2026-0001", "rang" its place in the year's
-- unbroken series, "contenu" the document itself (its lines and totals, JSON), so that printing
-- it again gives what the guest got. An issued document never changes and is never removed.
CREATE TABLE IF NOT EXISTS FACTURES (
    numero TEXT NOT NULL UNIQUE,
    annee INTEGER NOT NULL,
    rang INTEGER NOT NULL,
    numeroreservation INTEGER NOT NULL,
    date DATETIME NOT NULL,
    nature TEXT NOT NULL,
    reference TEXT NULL,
    contenu TEXT NOT NULL,
    totalht INTEGER NOT NULL,
    totaltva INTEGER NOT NULL,
    totalttc INTEGER NOT NULL,
    UNIQUE (annee, rang)
);
CREATE INDEX IF NOT EXISTS FacturesParReservation ON FACTURES (numeroreservation);
CREATE TRIGGER IF NOT EXISTS FacturesFigees BEFORE UPDATE ON FACTURES
BEGIN
    SELECT RAISE(ABORT, 'une facture émise ne change plus');
END;
CREATE TRIGGER IF NOT EXISTS FacturesGardees BEFORE DELETE ON FACTURES
BEGIN
    SELECT RAISE(ABORT, 'une facture émise ne se supprime pas');
END;

-- The closures of the journal: the day's and the cumulative totals per payment kind up to the
-- journal row "dernieresequence", chained as the journal is (ChaineJournal).
CREATE TABLE IF NOT EXISTS CLOTURES (
    sequence INTEGER NOT NULL UNIQUE,
    jour TEXT NOT NULL,
    date DATETIME NOT NULL,
    dernieresequence BIGINT NOT NULL,
    derniereempreinte TEXT NOT NULL,
    contenu TEXT NOT NULL,
    empreinte TEXT NOT NULL
);
CREATE TRIGGER IF NOT EXISTS CloturesFigees BEFORE UPDATE ON CLOTURES
BEGIN
    SELECT RAISE(ABORT, 'une clôture ne change plus');
END;
CREATE TRIGGER IF NOT EXISTS CloturesGardees BEFORE DELETE ON CLOTURES
BEGIN
    SELECT RAISE(ABORT, 'une clôture ne se supprime pas');
END;

PRAGMA user_version = 5;
