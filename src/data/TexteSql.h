#pragma once

#include <QString>
#include <QStringView>

// A quoted run of SQL text, 'a literal' or "a name", read as Jet and SQLite both read it: the
// quote that opens it closes it, and that quote doubled inside it stands for one. Every reader
// of our SQL texts steps over quoted runs with this, so that none of them can see a bracket, a
// number sign or a keyword inside a literal that another reader took as text.
struct EntreGuillemets
{
    qsizetype fin = 0; // just past the closing quote, or the end of the text when unclosed
    bool ferme = false;
};

// The run that starts at `debut`, which must hold a ' or a ".
EntreGuillemets lireEntreGuillemets(QStringView texte, qsizetype debut);

// What the run of `texte` from `debut` to `run.fin` stands for: without its quotes, a doubled
// quote made single.
QString contenuEntreGuillemets(QStringView texte, qsizetype debut, const EntreGuillemets &run);
