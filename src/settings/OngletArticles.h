#pragma once

#include "data/ArticlesBar.h"

#include <QVector>
#include <QWidget>

#include <optional>

class Contexte;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The "Articles" tab of the settings: what the bar sells, by family, with price and VAT rate.
// The table lists them; the article chosen is edited in the fields under it and stored on
// "Enregistrer". A refused value is said in French and what was typed stays.
class OngletArticles : public QWidget
{
    Q_OBJECT
public:
    explicit OngletArticles(Contexte &contexte, QWidget *parent = nullptr);

    QTableWidget *tableArticles;
    QComboBox *Famille;
    QLineEdit *Libelle;
    QLineEdit *prixTTC;
    QComboBox *TauxTVA;
    QPushButton *ajouterArticle;
    QPushButton *enregistrerArticle;
    QPushButton *supprimerArticle;

private:
    // The table and the families read again, the article `rowid` chosen (the first when it
    // has gone).
    void charger(qint64 rowid);
    // The fields show the article chosen, or nothing.
    void montrerChoisi();
    // Index in m_articles of the row chosen, -1 for none.
    int choisi() const;
    // The fields as an article of rowid `rowid`; nothing when one is refused, which is then
    // said and given the focus.
    std::optional<ArticlesBar::Article> lireChamps(qint64 rowid);
    void ajouterArticle_Click();
    void enregistrerArticle_Click();
    void supprimerArticle_Click();

    Contexte &m_contexte;
    QVector<ArticlesBar::Article> m_articles;
};
