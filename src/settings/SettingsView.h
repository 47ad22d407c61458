#pragma once

#include <QWidget>

class BackupsCard;
class ColumnColorsCard;
class CurrencyCard;
class DataFolderCard;
class DeleteDataCard;
class DirectoryCard;
class ForecastCard;
class LanguageCard;
class PresenceCard;
class Store;

// The settings page: the two directories, the data folder and the backups on the left, the five preference
// cards on the right.
class SettingsView final : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsView(Store& store, QWidget* parent = nullptr);

    DirectoryCard* clientsCard() const { return m_clients; }
    DirectoryCard* categoriesCard() const { return m_categories; }
    LanguageCard* languageCard() const { return m_language; }
    ColumnColorsCard* columnColorsCard() const { return m_colors; }
    PresenceCard* presenceCard() const { return m_presence; }
    CurrencyCard* currencyCard() const { return m_currency; }
    ForecastCard* forecastCard() const { return m_forecast; }
    DeleteDataCard* deleteDataCard() const { return m_delete; }
    BackupsCard* backupsCard() const { return m_backups; }
    DataFolderCard* dataFolderCard() const { return m_folder; }

private:
    void tabChanged();

    Store& m_store;
    DirectoryCard* m_clients;
    DirectoryCard* m_categories;
    LanguageCard* m_language;
    ColumnColorsCard* m_colors;
    PresenceCard* m_presence;
    CurrencyCard* m_currency;
    ForecastCard* m_forecast;
    DeleteDataCard* m_delete;
    BackupsCard* m_backups;
    DataFolderCard* m_folder;
};
