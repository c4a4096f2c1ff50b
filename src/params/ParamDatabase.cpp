#include "params/ParamDatabase.h"

#include "platform/AppInfo.h"

QString ParamDatabasePath()
{
    return AppPath() + QStringLiteral("/PrgData/ZT260pa1.sqlite");
}

QString ParamTableName(GridTab tab)
{
    switch (tab) {
    case GridTab::Mode: return QStringLiteral("Mode");
    case GridTab::HomeSearch: return QStringLiteral("HomeSearch");
    case GridTab::Parameter: return QStringLiteral("Parameter");
    }
    return {};
}

QString ParamRowTitle(GridTab tab, int row)
{
    if (row < 0 || row >= GridRows(tab))
        return {};
    switch (tab) {
    case GridTab::Mode: return QStringLiteral("Mode %1").arg(row + 1);
    case GridTab::HomeSearch: return QStringLiteral("Home search %1").arg(row + 1);
    case GridTab::Parameter: break;
    }
    // The unit's own names of the parameters, with the use the program knows.
    static const char *const uses[kSentParamItems] = {
        "", "", "", " (speed 1)", " (speed 2)", " (speed 3)", " (speed 4)",
        " (timer 1)", " (timer 2)", " (timer 3)", "", "", " (offset)"};
    return QLatin1String(kSentParams[size_t(row)].mnemonic) + QLatin1String(uses[row]);
}

std::vector<TableSchema> ParamDatabaseTables()
{
    std::vector<TableSchema> tables;
    for (GridTab tab : {GridTab::Mode, GridTab::HomeSearch, GridTab::Parameter}) {
        TableSchema t;
        t.table = ParamTableName(tab);
        t.fields = {QStringLiteral("Title"), QStringLiteral("X-axis"), QStringLiteral("Y-axis"),
                    QStringLiteral("Z-axis"), QStringLiteral("U-axis")};
        t.records = GridRows(tab);
        t.moreRecordsAllowed = true;
        t.seed = [tab](int pos, int field) { return field == 0 ? ParamRowTitle(tab, pos) : QString(); };
        tables.push_back(std::move(t));
    }
    return tables;
}

std::optional<QString> EnsureParamDatabase()
{
    return EnsureDatabase(ParamDatabasePath(), ParamDatabaseTables());
}
