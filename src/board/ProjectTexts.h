#pragma once

#include <QString>

// What every project item shows, already formatted in the interface language. An item paints
// these texts and assistive technology reads the same ones, so both say the same in the same
// language. Each presentation adds what is its own (ProjectCard::Content, ProjectRow::Content).
struct ProjectTexts
{
    QString name;
    QString client;
    QString category;
    QString fee;
    // The presentation's label and the amount; empty when there is no outsource.
    QString outsource;
    QString statusTitle;
    // "Due in 5 days", "12 days overdue"; empty unless the project is Pending with a due day.
    QString due;
    bool overdue = false;
};
