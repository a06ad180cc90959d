; The installer's own texts, in English and Japanese (the program's stay Japanese).
; UTF-8; included with /CHARSET=UTF8 after the MUI languages. $R9 is the file at hand,
; named from the installed folder (vitrel.dll, x86\vitrel32.dll, Clarovia.exe, ...).

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
LangString LibraryKept ${LANG_ENGLISH} "$R9 is still in use by other programs; it is the same file, so it stays."
LangString LibraryKept ${LANG_JAPANESE} "$R9 は他のプログラムが使用中です。同じファイルのためそのまま使います。"
LangString LibraryInUse ${LANG_ENGLISH} "Other programs still use the library of the Clarovia that was running ($R9). Close them, or sign out and in again, then retry."
LangString LibraryInUse ${LANG_JAPANESE} "実行していた Clarovia のライブラリ ($R9) を他のプログラムがまだ使用しています。それらを閉じるか、サインアウトしてから、再試行してください。"
LangString ProgramInUse ${LANG_ENGLISH} "$R9 in the installation folder is in use and cannot be replaced; nothing new was written. Close the program that holds it, then retry."
LangString ProgramInUse ${LANG_JAPANESE} "インストール先の $R9 が使用中のため置き換えられません。新しいファイルは何も書き込んでいません。それを使用しているプログラムを閉じてから、再試行してください。"
LangString FileNotWritten ${LANG_ENGLISH} "Some files could not be written into the installation folder (in use by another program, or no right to write there). Clarovia is not completely installed. Close what holds them, then retry."
LangString FileNotWritten ${LANG_JAPANESE} "インストール先に書き込めないファイルがありました (他のプログラムが使用中か、書き込む権限がありません)。Clarovia のインストールは完了していません。それらを使用しているプログラムを閉じてから、再試行してください。"
