<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Reading Laminate definition</name>
    <message>
        <source>Reading Laminate definition</source>
        <translation>Lecture de la définition du stratifié</translation>
    </message>
    <message>
        <source>Error loading current laminate</source>
        <translation>Erreur de chargement du stratifié courant</translation>
    </message>
</context>
</TS>
