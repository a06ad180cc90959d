; The installer's own texts, in English and Japanese (the program's stay Japanese).
; UTF-8; included with /CHARSET=UTF8 after the MUI languages.

LangString SecProgram ${LANG_ENGLISH} "Clarovia"
LangString SecProgram ${LANG_JAPANESE} "Clarovia"
LangString SecStartup ${LANG_ENGLISH} "Start with Windows"
LangString SecStartup ${LANG_JAPANESE} "Windows の起動時に開始する"
LangString SecUnSettings ${LANG_ENGLISH} "Also remove my settings"
LangString SecUnSettings ${LANG_JAPANESE} "設定も削除する"
LangString EndingCopy ${LANG_ENGLISH} "Ending the running Clarovia..."
LangString EndingCopy ${LANG_JAPANESE} "実行中の Clarovia を終了しています..."
LangString CopyStillRunning ${LANG_ENGLISH} "Clarovia is still running. End it from its tray icon, then retry."
LangString CopyStillRunning ${LANG_JAPANESE} "Clarovia がまだ実行中です。タスクトレイのアイコンから終了してから、再試行してください。"
LangString FileInUse ${LANG_ENGLISH} "Still in use:"
LangString FileInUse ${LANG_JAPANESE} "使用中のファイル:"
