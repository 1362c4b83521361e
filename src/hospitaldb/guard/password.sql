-- The employees' table keeps the access codes: it lives in the private schema,
-- where only the owner reaches it. The screens list employees with
-- "SELECT *", so under the hospital's name stands a view of every column but
-- the access code.
--
-- The program's upgrades put the table back under the hospital's name while
-- a schema step runs, and run this file again in the same transaction.

DO $$
DECLARE
    cols text;
BEGIN
    IF to_regclass('chemodesk_private.tbpasswordmaster') IS NULL THEN
        ALTER TABLE password.tbpasswordmaster SET SCHEMA chemodesk_private;
    ELSE
        DROP VIEW IF EXISTS password.tbpasswordmaster;
    END IF;
    SELECT string_agg(quote_ident(column_name), ', ' ORDER BY ordinal_position) INTO cols
    FROM information_schema.columns
    WHERE table_schema = 'chemodesk_private' AND table_name = 'tbpasswordmaster'
      AND column_name <> 'accesscode';
    EXECUTE 'CREATE VIEW password.tbpasswordmaster AS SELECT ' || cols
        || ' FROM chemodesk_private.tbpasswordmaster';
END
$$;

ALTER TABLE chemodesk_private.tbpasswordmaster OWNER TO chemodesk_owner;
ALTER VIEW password.tbpasswordmaster OWNER TO chemodesk_owner;
REVOKE ALL ON chemodesk_private.tbpasswordmaster FROM PUBLIC, chemodesk_workstation;
REVOKE ALL ON password.tbpasswordmaster FROM PUBLIC, chemodesk_workstation;
GRANT SELECT ON password.tbpasswordmaster TO chemodesk_workstation;

-- Every change of an employee is recorded (the code itself never is).
DROP TRIGGER IF EXISTS chemodesk_audit ON chemodesk_private.tbpasswordmaster;
CREATE TRIGGER chemodesk_audit AFTER INSERT OR UPDATE OR DELETE
    ON chemodesk_private.tbpasswordmaster
    FOR EACH ROW EXECUTE FUNCTION chemodesk_private.audit_row('employee');
