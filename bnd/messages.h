#pragma once

// The tool's console texts, as the Shift_JIS (code page 932) bytes it prints
// on every platform. Each comment shows the text as it reads; formats take
// "%s" and "%d" only (see console.h).

// "krovex ver.0.1\n\n" (printed first by the top-level archive)
inline constexpr char msg_banner[] = "krovex ver.0.1\n\n";
// "Usage : krovex [-x] <bnd_file> [dest_dir]\n"
inline constexpr char msg_usage_line_1[] = "Usage : krovex [-x] <bnd_file> [dest_dir]\n";
// "\t-x              ディレクトリ構造を無視.\n"
inline constexpr char msg_usage_line_2[] = "\t-x              \x83" "f\x83" "B\x83\x8c\x83N\x83g\x83\x8a\x8d\x5c\x91\xa2\x82\xf0\x96\xb3\x8e\x8b.\n";
// "\tbnd_file        bndファイル\n"
inline constexpr char msg_usage_line_3[] = "\tbnd_file        bnd\x83t\x83@\x83" "C\x83\x8b\n";
// "\tdest_dir        出力先.(省略可)\n" (33 bytes: the result of a run without an archive)
inline constexpr char msg_usage_line_4[] = "\tdest_dir        \x8fo\x97\xcd\x90\xe6.(\x8f\xc8\x97\xaa\x89\xc2)\n";
// "Error : ファイルが開けません %s.\n" (archive path)
inline constexpr char msg_open_failed[] = "Error : \x83t\x83@\x83" "C\x83\x8b\x82\xaa\x8aJ\x82\xaf\x82\xdc\x82\xb9\x82\xf1 %s.\n";
// "Extract %s to %s.\n" (archive path, output root)
inline constexpr char msg_extract_line[] = "Extract %s to %s.\n";
// "Error : BNDファイルではありません %s.\n" (archive path)
inline constexpr char msg_not_bnd[] = "Error : BND\x83t\x83@\x83" "C\x83\x8b\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1 %s.\n";
// "Error : メモリの確保に失敗 %d.\n" (directory size as a signed number)
inline constexpr char msg_out_of_memory[] = "Error : \x83\x81\x83\x82\x83\x8a\x82\xcc\x8am\x95\xdb\x82\xc9\x8e\xb8\x94s %d.\n";
// "Error : ディレクトリ情報が壊れています %s.\n" (archive path)
inline constexpr char msg_directory_damaged[] = "Error : \x83" "f\x83" "B\x83\x8c\x83N\x83g\x83\x8a\x8f\xee\x95\xf1\x82\xaa\x89\xf3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb7 %s.\n";
// "%s" (entry path (folders kept) or own name (flattened))
inline constexpr char msg_entry_name[] = "%s";
// " %s bytes" (size text with commas)
inline constexpr char msg_entry_size[] = " %s bytes";
// "."
inline constexpr char msg_entry_copied[] = ".";
// "OK\n"
inline constexpr char msg_entry_ok[] = "OK\n";
// "Error : 不正なパス %s.\n" (the entry's name as it would have been shown)
inline constexpr char msg_unsafe_path[] = "Error : \x95s\x90\xb3\x82\xc8\x83p\x83X %s.\n";
// "Error : パスが長すぎます %s.\n" (the entry's own name, or the destination argument)
inline constexpr char msg_path_too_long[] = "Error : \x83p\x83X\x82\xaa\x92\xb7\x82\xb7\x82\xac\x82\xdc\x82\xb7 %s.\n";
// "Error : ファイルが作成できません %s.\n" (output path)
inline constexpr char msg_cannot_create[] = "Error : \x83t\x83@\x83" "C\x83\x8b\x82\xaa\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1 %s.\n";
// "Error : ファイルの書き込みに失敗 %s.\n" (output path)
inline constexpr char msg_write_failed[] = "Error : \x83t\x83@\x83" "C\x83\x8b\x82\xcc\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x82\xc9\x8e\xb8\x94s %s.\n";
// "Error : データが足りません %s.\n" (output path)
inline constexpr char msg_data_short[] = "Error : \x83" "f\x81[\x83^\x82\xaa\x91\xab\x82\xe8\x82\xdc\x82\xb9\x82\xf1 %s.\n";
// "Error : 展開中のアーカイブには書き込めません %s.\n" (output path)
inline constexpr char msg_archive_in_use[] = "Error : \x93W\x8aJ\x92\x86\x82\xcc\x83" "A\x81[\x83J\x83" "C\x83u\x82\xc9\x82\xcd\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1 %s.\n";
// "Error : 入れ子が深すぎます %s.\n" (output path of the nested archive)
inline constexpr char msg_nesting_too_deep[] = "Error : \x93\xfc\x82\xea\x8eq\x82\xaa\x90[\x82\xb7\x82\xac\x82\xdc\x82\xb7 %s.\n";
