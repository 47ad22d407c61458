# Installation and packaging rules.
