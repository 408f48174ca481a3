#pragma once
// The program's start, as its main block runs it: the application, its title, and the forms in
// their order (the main window first), each made once and owned by the application.
void CreateWorkbenchForms();
