#!/usr/bin/env python3
"""Writes a data file whose names, clients and categories are long, shown as a table, for
looking at how the views cut long texts. Usage: long-names.py OUT.json"""
import json, sys, uuid

year = 2026
names = ["Brand identity refresh for the Anatolian Coastal Olive Oil Cooperative and all of its regional shops",
         "Yeni ambalaj tasarımı — İstanbul Şişli Çiçekçiler Derneği için bütün ürün ailesi ve kataloglar",
         "Wayfinding", "Ğüşiöç ĞÜŞİÖÇ long unbroken wordwithoutanyspacesatalltoseehowitwraps",
         "Annual report 2026 with infographics, print and web versions in two languages"]
clients = ["Anatolian Coastal Olive Oil Cooperative of the Aegean and Mediterranean Regions",
           "İzmir Büyükşehir Belediyesi Kültür ve Sanat İşleri Dairesi Başkanlığı", "Işık Ajans"]
categories = ["Brand Identity and Visual Systems for Large Organisations", "Ambalaj", "Editorial Design"]
projects = []
for i in range(15):
    projects.append({
        "id": str(uuid.UUID(int=i + 1)),
        "name": names[i % len(names)],
        "fee": [1250000.5, 99.99, 123456789.25, 0, 4500][i % 5],
        "outsource": [0, 120.5, 9999999][i % 3],
        "client": clients[i % len(clients)],
        "category": categories[i % len(categories)],
        "status": ["paid", "pending", "ongoing"][i % 3],
        "date": "%d-%02d-%02dT12:00:00Z" % (year, i % 12 + 1, i % 27 + 1),
    })
doc = {"currency": "USD", "taxRate": 17.5, "targetGoal": 2500000, "layout": sys.argv[2] if len(sys.argv) > 2 else "columns",
       "clients": clients, "categories": categories, "projects": projects}
with open(sys.argv[1], "w", encoding="utf-8") as f:
    json.dump(doc, f, ensure_ascii=False, indent=2)
