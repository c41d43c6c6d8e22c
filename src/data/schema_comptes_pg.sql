-- Version 5 of the tables on a server (schema_comptes.sql says what each holds): run by the
-- creation of a base after schema_pg.sql and by the upgrade of a version 4 base.

CREATE TABLE IF NOT EXISTS SAISONS (
    rowid BIGSERIAL UNIQUE,
    Categorie TEXT NOT NULL DEFAULT '',
    debut datetime NOT NULL,
    fin datetime NOT NULL,
    prixnuit BIGINT NOT NULL,
    personnes INTEGER NOT NULL DEFAULT 2,
    supplementadulte BIGINT NOT NULL DEFAULT 0,
    supplementenfant BIGINT NOT NULL DEFAULT 0,
    tauxtva INTEGER NOT NULL DEFAULT 1000
);
CREATE INDEX IF NOT EXISTS SaisonsParCategorie ON SAISONS (Categorie, debut);

CREATE TABLE IF NOT EXISTS PRESTATIONS (
    rowid BIGSERIAL UNIQUE,
    Numero INTEGER NOT NULL UNIQUE,
    Libelle TEXT NOT NULL,
    prix BIGINT NOT NULL,
    unite INTEGER NOT NULL DEFAULT 0,
    tauxtva INTEGER NOT NULL DEFAULT 1000,
    retire booleen NOT NULL DEFAULT 0
);

CREATE TABLE IF NOT EXISTS PRESTATIONSSEJOUR (
    rowid BIGSERIAL UNIQUE,
    numeroreservation INTEGER NOT NULL,
    prestation INTEGER NOT NULL,
    quantite INTEGER NOT NULL DEFAULT 1,
    UNIQUE (numeroreservation, prestation)
);

CREATE TABLE IF NOT EXISTS EXONERATIONS (
    rowid BIGSERIAL UNIQUE,
    numeroreservation INTEGER NOT NULL UNIQUE,
    adultes INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE IF NOT EXISTS FACTURES (
    rowid BIGSERIAL UNIQUE,
    numero TEXT NOT NULL UNIQUE,
    annee INTEGER NOT NULL,
    rang INTEGER NOT NULL,
    numeroreservation INTEGER NOT NULL,
    date datetime NOT NULL,
    nature TEXT NOT NULL,
    reference TEXT NULL,
    contenu TEXT NOT NULL,
    totalht BIGINT NOT NULL,
    totaltva BIGINT NOT NULL,
    totalttc BIGINT NOT NULL,
    UNIQUE (annee, rang)
);
CREATE INDEX IF NOT EXISTS FacturesParReservation ON FACTURES (numeroreservation);

CREATE TABLE IF NOT EXISTS CLOTURES (
    rowid BIGSERIAL UNIQUE,
    sequence INTEGER NOT NULL UNIQUE,
    jour TEXT NOT NULL,
    date datetime NOT NULL,
    dernieresequence BIGINT NOT NULL,
    derniereempreinte TEXT NOT NULL,
    contenu TEXT NOT NULL,
    empreinte TEXT NOT NULL
);

-- What was issued stays as it was issued.
CREATE OR REPLACE FUNCTION razarivu_fige() RETURNS TRIGGER LANGUAGE plpgsql AS $$
BEGIN
    RAISE EXCEPTION '%', TG_ARGV[0] USING ERRCODE = 'restrict_violation';
END
$$;
CREATE OR REPLACE TRIGGER FacturesFigees BEFORE UPDATE ON FACTURES
FOR EACH ROW EXECUTE FUNCTION razarivu_fige('une facture émise ne change plus');
CREATE OR REPLACE TRIGGER FacturesGardees BEFORE DELETE ON FACTURES
FOR EACH ROW EXECUTE FUNCTION razarivu_fige('une facture émise ne se supprime pas');
CREATE OR REPLACE TRIGGER CloturesFigees BEFORE UPDATE ON CLOTURES
FOR EACH ROW EXECUTE FUNCTION razarivu_fige('une clôture ne change plus');
CREATE OR REPLACE TRIGGER CloturesGardees BEFORE DELETE ON CLOTURES
FOR EACH ROW EXECUTE FUNCTION razarivu_fige('une clôture ne se supprime pas');

CREATE OR REPLACE TRIGGER SaisonsSignalees AFTER INSERT OR UPDATE OR DELETE ON SAISONS
FOR EACH STATEMENT EXECUTE FUNCTION razarivu_signaler();
CREATE OR REPLACE TRIGGER PrestationsSignalees AFTER INSERT OR UPDATE OR DELETE ON PRESTATIONS
FOR EACH STATEMENT EXECUTE FUNCTION razarivu_signaler();
CREATE OR REPLACE TRIGGER FacturesSignalees AFTER INSERT ON FACTURES
FOR EACH STATEMENT EXECUTE FUNCTION razarivu_signaler();

UPDATE razarivu_version SET version = 5;
