#pragma once
// What the module's panel uses of the plug-in shell: the one pointer to the panel and the way
// to the host's status bar.

class CMemoDlg;

// The memo panel, while it lives: set when the shell has created and registered it, cleared
// when the panel is destroyed or the module is unloaded. The shell never deletes the panel.
extern CMemoDlg* g_pMemoDlg;

// Called by a panel that is going away: forgets it if it is the remembered one, so that a later
// host notice never reaches a destroyed panel.
void ForgetMemoPanel(const CMemoDlg* panel);

// Sends `text` (null-terminated UTF-16) to the host's status bar and returns the host's answer.
int SendStatusBarText(const char16_t* text);
