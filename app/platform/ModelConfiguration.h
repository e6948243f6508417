#pragma once

#include <QString>

// Where and how a container keeps its store. The file is `<name>.sqlite` in
// `folder`; an empty folder means the application's data folder
// (QStandardPaths::AppDataLocation).
class ModelConfiguration {
public:
    explicit ModelConfiguration(QString name = QStringLiteral("LocalStore"), QString folder = {},
                                bool allowsSave = true);

    const QString &name() const { return m_name; }
    QString folder() const;
    QString filePath() const;
    bool allowsSave() const { return m_allowsSave; }

private:
    QString m_name;
    QString m_folder;
    bool m_allowsSave;
};
