#include "data/SchemaBase.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSqlQuery>

namespace {

struct CacheDesSchemas
{
    QMutex verrou;
    // Connection name -> (database file, schema).
    QHash<QString, QPair<QString, QSharedPointer<const Schema>>> schemas;
};

CacheDesSchemas &cache()
{
    static CacheDesSchemas instance;
    return instance;
}

} // namespace

bool estTypeDate(const QString &type)
{
    return type.contains(QLatin1String("DATE"), Qt::CaseInsensitive)
        || type.contains(QLatin1String("TIME"), Qt::CaseInsensitive);
}

GenreColonne genreDuType(const QString &typeDeclare)
{
    const QString type = typeDeclare.toUpper();
    if (estTypeDate(type))
        return GenreColonne::Date;
    if (type.contains(QLatin1String("BOOL")))
        return GenreColonne::Booleen;
    if (type.contains(QLatin1String("SMALLINT")) || type.contains(QLatin1String("TINYINT")))
        return GenreColonne::Entier16;
    if (type.contains(QLatin1String("BIGINT")))
        return GenreColonne::Entier64;
    if (type.contains(QLatin1String("INT")))
        return GenreColonne::Entier32;
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("TEXT"))
        || type.contains(QLatin1String("CLOB")))
        return GenreColonne::Texte;
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA"))
        || type.contains(QLatin1String("DOUB")) || type.contains(QLatin1String("NUMERIC"))
        || type.contains(QLatin1String("DECIMAL")))
        return GenreColonne::Reel;
    return GenreColonne::Autre;
}

bool Schema::estUneDate(const QString &table, const QString &colonne) const
{
    const auto tableOrigine = tables.constFind(table);
    if (tableOrigine != tables.constEnd()) {
        const auto declaree = tableOrigine->colonnes.constFind(colonne);
        if (declaree != tableOrigine->colonnes.constEnd())
            return estTypeDate(declaree->type);
    }
    // Views and aliases hide where a column comes from: go by its name.
    return colonnesDates.contains(colonne);
}

Schema lireSchema(const QSqlDatabase &base)
{
    Schema schema;
    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    // table_xinfo, unlike table_info, lists generated columns (hidden 2 or 3). On a server the
    // dates and Booleans are domains, whose names tell what the column holds as SQLite's
    // declared types do.
    const QString texte = base.driverName() == QLatin1String("QPSQL")
        ? QStringLiteral("SELECT c.table_name, c.column_name, coalesce(c.domain_name, "
                         "c.data_type), CASE WHEN c.is_generated = 'ALWAYS' THEN 1 ELSE 0 END "
                         "FROM information_schema.columns AS c JOIN information_schema.tables AS "
                         "t ON t.table_schema = c.table_schema AND t.table_name = c.table_name "
                         "WHERE c.table_schema = current_schema() AND t.table_type = 'BASE TABLE'")
        : QStringLiteral("SELECT m.name, p.name, p.type, p.hidden FROM sqlite_master AS m, "
                         "pragma_table_xinfo(m.name) AS p WHERE m.type = 'table'");
    if (!requete.exec(texte)) {
        schema.erreur = requete.lastError();
        return schema;
    }
    while (requete.next()) {
        const QString nomTable = requete.value(0).toString();
        TableSchema &table = schema.tables[nomTable.toLower()];
        table.nom = nomTable;
        ColonneSchema colonne {requete.value(1).toString(), requete.value(2).toString(),
                               requete.value(3).toInt() != 0};
        if (estTypeDate(colonne.type))
            schema.colonnesDates.insert(colonne.nom.toLower());
        table.colonnes.insert(colonne.nom.toLower(), colonne);
    }
    return schema;
}

QSharedPointer<const Schema> schemaDe(const QSqlDatabase &base)
{
    const QString connexion = base.connectionName();
    const QString fichier = base.databaseName();
    CacheDesSchemas &schemas = cache();
    {
        QMutexLocker verrou(&schemas.verrou);
        const auto connu = schemas.schemas.constFind(connexion);
        if (connu != schemas.schemas.constEnd() && connu->first == fichier)
            return connu->second;
    }
    auto lu = QSharedPointer<const Schema>::create(lireSchema(base));
    if (!lu->erreur.isValid()) {
        QMutexLocker verrou(&schemas.verrou);
        schemas.schemas.insert(connexion, {fichier, lu});
    }
    return lu;
}

void oublierSchema(const QString &connexion)
{
    CacheDesSchemas &schemas = cache();
    QMutexLocker verrou(&schemas.verrou);
    schemas.schemas.remove(connexion);
}
