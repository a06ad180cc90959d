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
LangString LibraryKept ${LANG_ENGLISH} "vitrel.dll is still in use by other programs; the same version stays."
LangString LibraryKept ${LANG_JAPANESE} "vitrel.dll は他のプログラムが使用中です。同じバージョンのためそのまま使います。"
LangString LibraryInUse ${LANG_ENGLISH} "Other programs still use the library of the Clarovia that was running (vitrel.dll). Close them, or sign out and in again, then retry."
LangString LibraryInUse ${LANG_JAPANESE} "実行していた Clarovia のライブラリ (vitrel.dll) を他のプログラムがまだ使用しています。それらを閉じるか、サインアウトしてから、再試行してください。"
