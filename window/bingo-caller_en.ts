<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- English is the sources' own: this file has no texts, so that English wins where it comes first among the UI languages. -->
<TS version="2.1" language="en"/>
