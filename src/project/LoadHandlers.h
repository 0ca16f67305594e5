#pragma once

#include <QString>

class ProjectTemplates;

// Asked when a solution file to be read does not exist; true makes loading
// go on and try to open it.
class ProjectFileNotFoundErrorHandler {
public:
    virtual ~ProjectFileNotFoundErrorHandler() = default;
    virtual bool fileNotFound(const QString &fileName) = 0;
};

// Asked when a project names an empty template; true makes loading go on
// with templateName as the handler left it.
class TemplateNotFoundErrorHandler {
public:
    virtual ~TemplateNotFoundErrorHandler() = default;
    virtual bool templateNotFound(ProjectTemplates &templates, const QString &projectName, QString &templateName) = 0;
};
