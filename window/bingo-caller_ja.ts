<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>bingo::MainWindow</name>
    <message>
        <source>Letter box</source>
        <translation>文字ボックス</translation>
    </message>
    <message>
        <source>Number box</source>
        <translation>番号ボックス</translation>
    </message>
    <message>
        <source>New game</source>
        <translation>新しいゲーム</translation>
    </message>
    <message>
        <source>All 75 numbers have been called</source>
        <translation>75個の番号はすべて抽選済みです</translation>
    </message>
</context>
<context>
    <name>bingo::NumberBoard</name>
    <message>
        <source>Called</source>
        <translation>抽選済み</translation>
    </message>
    <message>
        <source>Not called</source>
        <translation>未抽選</translation>
    </message>
</context>
<context>
    <name>bingo::Startup</name>
    <message>
        <source>no display to open; set DISPLAY or WAYLAND_DISPLAY</source>
        <translation>開くディスプレイがありません。DISPLAY または WAYLAND_DISPLAY を設定してください</translation>
    </message>
    <message>
        <source>cannot open display %1: no X server answers there</source>
        <translation>ディスプレイ %1 を開けません: X サーバーが応答しません</translation>
    </message>
    <message>
        <source>cannot open display %1: the X server refused the connection (%2)</source>
        <translation>ディスプレイ %1 を開けません: X サーバーが接続を拒否しました (%2)</translation>
    </message>
    <message>
        <source>cannot open a display: DISPLAY is not set</source>
        <translation>ディスプレイを開けません: DISPLAY が設定されていません</translation>
    </message>
    <message>
        <source>cannot open Wayland display %1: Qt&apos;s Wayland plugin is missing (Debian package qt6-wayland)</source>
        <translation>Wayland ディスプレイ %1 を開けません: Qt の Wayland プラグインがありません (Debian パッケージ qt6-wayland)</translation>
    </message>
    <message>
        <source>cannot open Wayland display %1: no compositor answers there</source>
        <translation>Wayland ディスプレイ %1 を開けません: コンポジターが応答しません</translation>
    </message>
</context>
</TS>
