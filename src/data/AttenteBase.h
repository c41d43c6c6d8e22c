#pragma once

struct sqlite3;

// How a desk waits for a base another desk holds: up to attenteMaximaleMs(), with the busy pointer
// from the first wait until the statement is through, then the statement fails as busy and its
// caller says so. Put on every connection the program opens.
void attenteParDefaut(sqlite3 *connexion);

// The longest wait, in milliseconds: five seconds, unless a test wants its refusals sooner.
int attenteMaximaleMs();
void fixerAttenteMaximale(int millisecondes);
